// Text helpers of the launcher's captions.
#pragma once
#include <vector>

#include "platform/types.h"

// Gives captions automatic accelerators, as the group buttons and icon titles
// get them: captions that already have one reserve its character; then each
// caption without one gets an "&" before its first character, from the left,
// whose upper-case form is a letter A-Z or a digit (the only characters an
// accelerator key can match) and is not yet reserved, and reserves it. A
// caption with no such character keeps none.
void AssignAutoAccelerators(std::vector<String>& captions);
