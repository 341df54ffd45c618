#include "mbasicsheetheader.h"
