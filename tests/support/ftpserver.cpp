#include "ftpserver.h"
