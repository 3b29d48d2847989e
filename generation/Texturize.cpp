#include "generation/Texturize.h"

int BuildSizeX[SlotCount] = {};
int BuildSizeY[SlotCount] = {};

void UseSettingsTextureSizes() {
  for (int k = 0; k < SlotCount; ++k) {
    BuildSizeX[k] = G_SizeX[k];
    BuildSizeY[k] = G_SizeY[k];
  }
}

void Texturize() {}
float GetFaceLen(const face&) { return 0.0f; }
float AskForValue() { return 1.0f; }
