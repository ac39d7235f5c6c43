// The user profile: two sections of string values read once at start-up into the engine's
// variables and written back once at exit.
#pragma once
#include <QString>
#include <QStringList>
#include <vector>
#include "lang.h"

class QSettings;

namespace shl {

// Values of the profile that the shell itself holds.
struct Profile {
    enum Dir { DirScn = 0, DirDxf = 1, DirVrml = 2, DirImg = 3, DirGis = 4, DirNum = 5 };
    QString dir[DirNum];           // last directories of the file dialogs, no trailing separator
    int cust[16][3];               // custom colours of the colour dialog
    QStringList recent;            // recent documents, newest first (four at most)
    LangPref lang = PrefSystem;    // interface language: "system", "ja" or "en" in the store
    Profile();
};

Profile& CurProfile();

// Reads both sections into the engine's edit copy and variables and into the shell's profile.
// Missing keys keep the defaults; values that do not parse or are out of range are ignored.
// The engine's parameter defaults must have been set first.
void LoadProfile(QSettings& s, Profile& p);
// Writes every key of both sections from the engine's stored copy and variables.
void SaveProfile(QSettings& s, const Profile& p);

// Every key SaveProfile writes, in its order: section, key, value.
struct ProfileEntry {
    QString sec, key, val;
};
std::vector<ProfileEntry> ProfileEntries(const Profile& p);

// The profile store of the current user (organisation "Orvane", application "Orvane Altimetra").
QSettings* OpenUserProfile();

}  // namespace shl
