#include "doc/filnam.h"

char FilNam[FilNamLen] = "";
