#include "firmware/FirmwarePackage.h"
#include "lumo/devices/MarqaRDM.h"
#include "lumo/devices/SolviRDM.h"
#include "os/NamedFolders.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

FirmwarePackage::Contents Contents(bool withFpga) {
    FirmwarePackage::Contents contents;
    contents.motion = QByteArray(700, 'm');
    contents.graphics = QByteArray(300, 'g');
    contents.fpga = withFpga ? QByteArray(90, 'f') : QByteArray();
    contents.versions = {{4, 3, 0, 1}, {2, 4, 0, 0}, 7};
    return contents;
}

TEST(FirmwarePackageTest, PackageIsReadInPlaceByItsEntryNames) {
    QTemporaryDir dir;
    const QString package = dir.filePath("marqa-4.3.crvpkg");
    QString error;
    ASSERT_TRUE(FirmwarePackage::Write(package, FirmwarePackage::kMarqa, Contents(false), &error))
        << error.toStdString();

    EXPECT_EQ(FirmwarePackage::Detect(package), &FirmwarePackage::kMarqa);
    MarqaRDM device(0x435600000001ULL);
    EXPECT_EQ(device.GetFirmwarePackageVersion(package),
              "Motion 4.3.0.1, Graphics 2.4.0.0, FPGA 7");
    quint32 fpga = 0;
    EXPECT_TRUE(device.ReadFpgaVersion(package, &fpga));
    EXPECT_EQ(fpga, 7u);
    // The other family's version file is not there.
    EXPECT_EQ(SolviRDM(0x435600000002ULL).GetFirmwarePackageVersion(package),
              "(Error opening file)");

    QByteArray image;
    EXPECT_TRUE(FirmwarePackage::ReadImage(
        FirmwarePackage::EntryPath(package, FirmwarePackage::kMarqa.motion), &image, &error));
    EXPECT_EQ(image, QByteArray(700, 'm'));
    // A package without an FPGA image, an empty file and a file that is not there.
    EXPECT_FALSE(FirmwarePackage::ReadImage(
        FirmwarePackage::EntryPath(package, FirmwarePackage::kMarqa.fpga), &image, &error));
    EXPECT_TRUE(error.startsWith("No such file")) << error.toStdString();
    QFile empty(dir.filePath("empty.bin"));
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    empty.close();
    EXPECT_FALSE(FirmwarePackage::ReadImage(empty.fileName(), &image, &error));
    EXPECT_TRUE(error.startsWith("The file is empty")) << error.toStdString();
}

TEST(FirmwarePackageTest, StockPackageIsFoundOnlyInTheFirmwareFolder) {
    const QString folder = Os::NamedFolders::Path("Firmware");
    ASSERT_FALSE(folder.isEmpty());
    const QString stock = QDir(folder).filePath("marqa.crvpkg");
    QFile::remove(stock);
    MarqaRDM device(0x435600000001ULL);
    EXPECT_EQ(device.GetFirmwarePackagePath(), "");
    QString error;
    ASSERT_TRUE(FirmwarePackage::Write(stock, FirmwarePackage::kMarqa, Contents(true), &error));
    EXPECT_EQ(device.GetFirmwarePackagePath(), QFileInfo(stock).absoluteFilePath());
    EXPECT_EQ(SolviRDM(0x435600000002ULL).GetFirmwarePackagePath(), "");
    QFile::remove(stock);
}

}  // namespace
