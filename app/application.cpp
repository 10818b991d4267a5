#include "app/application.h"

int runApplication(int, char**) { return 0; }
