// Generate: size the buffers, replace the group and run the selected builder.
#pragma once

// Returns false when no shape is selected (the new group stays empty).
bool Generate();
