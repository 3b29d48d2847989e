// The console listing of the generated brushes.
#pragma once

void DisplayGen();
