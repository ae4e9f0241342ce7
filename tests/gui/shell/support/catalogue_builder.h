// Builds translation catalogues and resource files for tests with Qt's own lrelease and rcc.
#pragma once

#include <QMap>
#include <QString>

namespace CatalogueBuilder {

// True when lrelease and rcc can be found.
bool ToolsAvailable();
// Writes a .ts source with one context and compiles it to qm_path.
bool WriteCatalogue(const QString& qm_path, const QString& context,
                    const QMap<QString, QString>& messages);
// Packs files (resource alias under prefix -> file on disk) into a binary resource file.
bool PackResourceFile(const QString& rcc_path, const QString& prefix,
                      const QMap<QString, QString>& files);

}  // namespace CatalogueBuilder
