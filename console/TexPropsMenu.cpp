#include "console/Menus.h"

void menu_tex2(int) {}
