#include "GeTol.h"
