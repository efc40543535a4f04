// A popup's items as one text, "a|b|c": how it splits, and the separator entry, which
// draws a line in a menu and cannot be chosen. Header-only and free of the effect, so the
// stand-in host reads a registered popup by the same rule the effect writes it.
#pragma once

#include <string_view>
#include <vector>

namespace solvane {

// A separator item is exactly this text.
inline constexpr std::string_view kSeparatorItem = "(-";

inline bool IsSeparatorItem(std::string_view item) {
  return item == kSeparatorItem;
}

// "a|b|c" -> {"a", "b", "c"}; the separator entry is an item like any other, so item
// numbers count it.
inline std::vector<std::string_view> SplitItems(std::string_view items) {
  std::vector<std::string_view> result;
  while (true) {
    const size_t bar = items.find('|');
    result.push_back(items.substr(0, bar));
    if (bar == std::string_view::npos) return result;
    items.remove_prefix(bar + 1);
  }
}

}  // namespace solvane
