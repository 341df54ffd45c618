#include "mdialog.h"
