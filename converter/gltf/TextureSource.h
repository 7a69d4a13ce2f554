#pragma once

#include <functional>
#include <optional>
#include <string>

// The image file to embed for a texture name that a material's texture unit holds; nothing
// when there is no such file.
using TextureSource = std::function<std::optional<std::string>(const std::string& textureName)>;
