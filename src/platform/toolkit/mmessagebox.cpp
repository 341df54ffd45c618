#include "mmessagebox.h"
