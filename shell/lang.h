// The interface's language: Japanese (the source texts) or English (the catalogue built from
// shell/lang/altimetra_en.ts). Chosen once at start-up: `--lang` for one run, else the profile's
// choice, else the user's locale.
#pragma once
#include <QString>
#include <string>

namespace shl {

// Same numbers as the engine's message language (MsgLang).
enum UiLang { LangJa = 0, LangEn = 1 };

// The profile's choice ("言語 / Language" in the preferences).
enum LangPref { PrefSystem = 0, PrefJa = 1, PrefEn = 2 };

// Language of a POSIX locale name: Japanese for "ja...", for the C and POSIX locales and for an
// empty name (no locale set); English for every other.
UiLang LangOfLocale(const QString& name);
// The locale that decides the language of messages: LC_ALL, then LC_MESSAGES, then LANG.
QString MsgLocaleName();
// "ja" or "en" (as `--lang` takes them); false for anything else.
bool ParseLang(const QString& s, UiLang* lang);

// The language of this run: the command line's when given (cmdLine not null), otherwise the
// profile's choice, otherwise the locale's.
UiLang ChooseLang(const UiLang* cmdLine, LangPref pref, const QString& locale);

// Installs the catalogues of lang: the shell's own and Qt's for its standard dialogs and buttons,
// and sets the engine's message language. False when a catalogue English needs is missing (the
// texts then stay Japanese).
bool SetUiLang(UiLang lang);
UiLang CurUiLang();

// A message box's text or caption, written in Japanese, in the interface's language: in English
// the shell's own texts come from its catalogue, the engine's from its table (MsgEn).
std::string BoxText(const char* ja);

}  // namespace shl
