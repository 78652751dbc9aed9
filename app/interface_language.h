// The interface language chosen from the system's locale, and the board's own texts shown in it.
#pragma once

#include <QLocale>

#include "language/language.h"

namespace zendra {

class TLattix;

// The interface language of `locale`, by its language and territory (see LanguageForLocale).
Language InterfaceLanguageOf(const QLocale& locale);

// The interface language of the system's locale (LC_ALL, LC_MESSAGES, LANG).
Language SystemInterfaceLanguage();

// Shows the board's texts (the information column, the counting result) in `language`: the
// board's `Language` follows it, and in Traditional Chinese the board's Chinese texts pass
// through the GB-to-Big5 conversion.
void ShowBoardTextsIn(TLattix& board, Language language);

}  // namespace zendra
