// The native build has no shell: ID lists name no paths there.
#include "kem3/dragdrop/dragdroppidl.h"

TShellNamespace* SystemShellNamespace() { return nullptr; }
