#include "file/filnam.h"

char FilNam[FilNamLen] = "";
