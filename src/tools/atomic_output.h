#pragma once
// The streaming atomic writer lives with the other writers in the core.
#include "core/atomic_output.h"
