#include "minputmethodstate.h"
