#include "support/setup_paths.h"

SetupPathBuffers SetupPaths;
