// The console menus.
#pragma once

// The main menu of interactive mode; returns on q.
void menu_main();
// The sub menu of the selected shape; returns on q.
void menu_sub();
// The mesh properties menu.
void menu_props();
// The export rules menu.
void menu_draw();
// The textures menu.
void menu_tex();
// The texture properties menu of one slot (0 to 3).
void menu_tex2(int slot);
