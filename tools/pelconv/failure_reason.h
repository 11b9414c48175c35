// Turns a result code of the plug-in into a sentence a person understands.
// The code alone says little for a rejected or unreadable file, so the input
// is looked at again in this process to tell the cases apart.
#pragma once

#include <string>

#include "picture_input.h"

namespace pelo::tools {

std::string DescribeFailure(int result, const PictureInput& input);

}  // namespace pelo::tools
