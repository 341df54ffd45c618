#include "mpositionindicator.h"
