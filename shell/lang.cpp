#include "lang.h"
#include <QCoreApplication>
#include <QEvent>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <cstdlib>
#include "console_plt.h"
#include "core/msg.h"
#include "core/msg_en.h"
#include "tr.h"

// The English catalogue is compiled into the shell's static library.
static void InitLangRes() { Q_INIT_RESOURCE(altlang); }

namespace shl {

namespace {
UiLang gLang = LangJa;
QTranslator* gApp = nullptr;  // the shell's own catalogue (English only)
QTranslator* gQt = nullptr;   // Qt's, for its standard dialogs and buttons

void Drop(QTranslator*& t) {
    if (!t) return;
    QCoreApplication::removeTranslator(t);
    delete t;
    t = nullptr;
}
}  // namespace

UiLang LangOfLocale(const QString& name) {
    const QString n = name.trimmed();
    if (n.isEmpty() || n == QLatin1String("C") || n == QLatin1String("POSIX") ||
        n.startsWith(QLatin1String("C.")) || n.startsWith(QLatin1String("C@")))
        return LangJa;
    if (n.startsWith(QLatin1String("ja")) && (n.size() == 2 || !n[2].isLetter())) return LangJa;
    if (n.startsWith(QLatin1String("japanese"), Qt::CaseInsensitive)) return LangJa;  // old alias
    return LangEn;
}

QString MsgLocaleName() {
    for (const char* var : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* v = std::getenv(var);
        if (v && *v) return QString::fromLocal8Bit(v);
    }
    return QString();
}

bool ParseLang(const QString& s, UiLang* lang) {
    if (s == QLatin1String("ja")) *lang = LangJa;
    else if (s == QLatin1String("en")) *lang = LangEn;
    else return false;
    return true;
}

UiLang ChooseLang(const UiLang* cmdLine, LangPref pref, const QString& locale) {
    if (cmdLine) return *cmdLine;
    switch (pref) {
    case PrefJa: return LangJa;
    case PrefEn: return LangEn;
    case PrefSystem: break;
    }
    return LangOfLocale(locale);
}

bool SetUiLang(UiLang lang) {
    InitLangRes();
    jrn::BoxTextFn = &BoxText;  // the boxes journals print
    Drop(gApp);
    Drop(gQt);
    gLang = lang;
    MsgLang = uint8_t(lang);
    bool ok = true;
    if (lang == LangEn) {
        gApp = new QTranslator;
        if (gApp->load(QStringLiteral(":/lang/altimetra_en.qm"))) {
            QCoreApplication::installTranslator(gApp);
        } else {
            ok = false;
            Drop(gApp);
        }
    }
    // Qt's own catalogue of the same language, for its standard dialogs and buttons.
    gQt = new QTranslator;
    const QLocale loc = lang == LangEn ? QLocale(QLocale::English, QLocale::UnitedStates)
                                       : QLocale(QLocale::Japanese, QLocale::Japan);
    if (gQt->load(loc, QStringLiteral("qtbase"), QStringLiteral("_"),
                  QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(gQt);
    else
        Drop(gQt);
    // Open windows retranslate now, not at the next turn of the event loop.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
    return ok;
}

UiLang CurUiLang() { return gLang; }

std::string BoxText(const char* ja) {
    if (!ja) return std::string();
    if (gLang != LangEn) return ja;
    const QString t = Tx::tr(ja);
    if (t != QString::fromUtf8(ja)) return t.toStdString();
    return MsgEn(ja);
}

}  // namespace shl
