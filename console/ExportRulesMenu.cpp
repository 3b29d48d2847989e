#include "console/Menus.h"

void menu_draw() {}
