#include "msheet.h"
