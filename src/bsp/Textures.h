#pragma once

#include "bsp/MapLayout.h"

#include <string>
#include <string_view>

namespace ballotine::bsp {

inline constexpr int kTextureSize = 64;

// The name a texture has in the map (at most 15 characters, as the format holds).
std::string_view TextureName(Texture texture);

// The textures lump: every texture drawn by code, 64 x 64 with its four mip levels and its
// own 256-colour palette, so the map needs no texture file.
std::string EncodeTextureLump();

} // namespace ballotine::bsp
