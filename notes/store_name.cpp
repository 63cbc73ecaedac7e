#include "notes/store_name.h"

#include <stdexcept>

namespace {

constexpr uint64_t kNameRange = 999999;     // names "\0.kli" .. "\999998.kli"
constexpr int kMaxDraws = 100000;

}  // namespace

std::string NewStoreName(const std::string& storeFolder,
                         const std::function<bool(const std::string&)>& exists,
                         const std::function<uint32_t()>& random) {
  for (int draw = 0; draw < kMaxDraws; ++draw) {
    // Scaling the 32-bit value (instead of taking a remainder) keeps the draw uniform.
    const uint64_t n = (static_cast<uint64_t>(random()) * kNameRange) >> 32;
    std::string name = "\\" + std::to_string(n) + ".kli";
    if (!exists(storeFolder + name)) return name;
  }
  throw std::runtime_error("No free note file name in " + storeFolder);
}
