#include "app/interface_language.h"

#include "board/widget/lattix.h"
#include "text/gb2big5.h"

namespace zendra {

Language InterfaceLanguageOf(const QLocale& locale) {
  return LanguageForLocale(QLocale::languageToCode(locale.language()).toStdString(),
                           QLocale::territoryToCode(locale.territory()).toStdString());
}

Language SystemInterfaceLanguage() { return InterfaceLanguageOf(QLocale::system()); }

void ShowBoardTextsIn(TLattix& board, Language language) {
  if (language == Language::kTraditionalChinese) {
    board.OnToBig5 = [](LattixEngine*, std::string& text) { text = TGB_Big5::GBToBig5(text); };
  } else {
    board.OnToBig5 = nullptr;
  }
  board.SetLanguage(static_cast<int8_t>(BoardLanguage(language)));
}

}  // namespace zendra
