#pragma once

#include <QString>

namespace jt {
class ProgramState;
}

namespace jt::app {

class CompetitionFiles;

// The alias through which every table is reached.
inline const QString kAliasName = QStringLiteral("jigtally 2008");

// The main window's start-up work on the data folder: the state's DataFolder becomes the documents
// folder + "/Jigtally 2008/data", the three file dialogs start there, and the alias is
// created (and saved) when it is missing, with the message Alias "jigtally 2008"
// created. An empty documents folder raises "Could not find MyDocuments folder
// location." before anything is changed. Creates no folder.
void prepareDataFolder(ProgramState& state, const QString& documentsFolder,
                       CompetitionFiles& files);

// The per-user documents folder, as the platform knows it (not created).
QString platformDocumentsFolder();

} // namespace jt::app
