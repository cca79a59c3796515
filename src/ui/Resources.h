#pragma once

// Registers the icons and banner under ":/Resources" (they live in a static library, whose
// resource registration the linker would otherwise drop). Safe to call more than once.
void InitAurelResources();
