#include "journal.h"
