// Small text helpers of the launcher's captions.
#pragma once
#include <string_view>

#include "platform/types.h"

// The caption without its accelerator marks: an "&" before a character marks
// that character and goes; "&&" stands for one "&".
String RemoveAccelMarks(std::string_view caption);
