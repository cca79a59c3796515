#pragma once

#include "content/ledimage/MarqaImage.h"

#include <QDir>
#include <QFile>
#include <QList>

#include <gtest/gtest.h>

#include <memory>
#include <tuple>

// MARQA images and package folders on disk, for the tests of content jobs.
namespace MarqaPackage {

// An image of two blank frames with the name, address and content key given.
inline std::unique_ptr<Content> Image(const QString& name, int address, quint32 key) {
    auto image = std::make_unique<MarqaImage>();
    image->SetName(name);
    image->SetAddress(address);
    image->SetFrames(std::vector<MarqaImage::Frame>(2));
    image->SetContentKey(key);
    return image;
}

inline void WriteText(const QString& path, const QByteArray& text) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
}

// A package directory holding one folder at `address` with the images (name, address, key)
// and both description files.
inline void WriteFolder(const QString& package, const QString& folder, int address,
                        const QList<std::tuple<QString, int, quint32>>& items) {
    ASSERT_TRUE(QDir().mkpath(package + "/" + folder));
    QByteArray contents;
    for (const auto& [name, number, key] : items) {
        ASSERT_TRUE(Image(name, number, key)->Save(package + "/" + folder + "/" + name + ".mqi"));
        contents +=
            QStringLiteral("<content name=\"%1\" address=\"%2\"/>").arg(name).arg(number).toUtf8();
    }
    WriteText(package + "/config.xml",
              QStringLiteral("<objects><folder name=\"%1\" address=\"%2\"/></objects>")
                  .arg(folder)
                  .arg(address)
                  .toUtf8());
    WriteText(package + "/" + folder + "/config.xml", "<objects>" + contents + "</objects>");
}

}  // namespace MarqaPackage
