#pragma once
#include <QFile>
#include <QString>
#include <string>

#include "base/DisplayText.h"

namespace pixmond {

// Texts of the core are bytes: UTF-8, or Windows-1252 from old files and archives.
inline QString ToQString(const std::string& text) { return QString::fromStdString(DisplayText(text)); }

// Paths keep their bytes both ways, so a name that is not UTF-8 still opens.
inline QString PathToQString(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }
inline std::string PathFromQString(const QString& path) { return QFile::encodeName(path).toStdString(); }

}  // namespace pixmond
