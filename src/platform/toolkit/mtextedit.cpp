#include "mtextedit.h"
