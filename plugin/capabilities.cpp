#include "plugin/capabilities.h"
