// Natively, skins draw their texts as blocks (there is no system text output).
#include "kem3/graphics/vosskintext.h"

std::unique_ptr<IVosTextRasterizer> NewVosTextRasterizer() { return NewVosBlockRasterizer(); }
