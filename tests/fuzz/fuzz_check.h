#pragma once

// What the fuzz targets share: the input seen as bytes, and a property that stops the run where
// it fails, so that libFuzzer keeps the input that broke it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace orbida::fuzz {

inline void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

inline std::string_view Bytes(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

}  // namespace orbida::fuzz
