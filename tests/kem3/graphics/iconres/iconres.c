/* The icon DLL needs no code of its own; this gives the linker something. */
int IconResourcesVersion(void) { return 1; }
