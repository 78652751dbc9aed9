// The interface language of the texts the library hands to the window, and the hook that turns
// Simplified Chinese (GB) bytes into Traditional Chinese (Big5) ones.
#pragma once

#include <functional>
#include <string>
#include <utility>

namespace zendra {

enum class Language { kEnglish, kSimplifiedChinese, kTraditionalChinese };

// Turns GB text into the text to show; the Traditional interface installs the Big5 converter.
using TextConversion = std::function<std::string(std::string)>;

// Chooses between the English and the GB form of a text. Chinese texts pass through the
// conversion only in the Traditional interface; an empty conversion leaves them unchanged.
struct Localizer {
  Language language = Language::kEnglish;
  TextConversion convert;

  // True for both Chinese interfaces.
  bool Chinese() const { return language != Language::kEnglish; }
  // The text as shown: a GB text goes through the conversion in the Traditional interface.
  std::string Convert(std::string gb) const {
    if (language == Language::kTraditionalChinese && convert) return convert(std::move(gb));
    return gb;
  }
  // The English text, or the converted GB text in a Chinese interface.
  std::string Pick(std::string english, std::string gb) const {
    return Chinese() ? Convert(std::move(gb)) : english;
  }
};

}  // namespace zendra
