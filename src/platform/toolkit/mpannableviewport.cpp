#include "mpannableviewport.h"
