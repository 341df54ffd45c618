#include "mcombobox.h"
