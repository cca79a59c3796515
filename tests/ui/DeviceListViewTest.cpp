#include "orx/ORXDevice.h"
#include "rdm/devices/DeviceManager.h"
#include "rdm/devices/RDMDevice.h"
#include "ui/views/DeviceListView.h"

#include <QStandardItemModel>
#include <QTest>

#include <gtest/gtest.h>

namespace {

RDMDevice* PatchedFixture(quint64 uid, const QString& label, quint8 port, quint16 address,
                          quint16 footprint) {
    auto* device = new RDMDevice(uid);
    device->SetDeviceLabel(label);
    device->SetWidget("stage");
    device->SetPort(port);
    device->SetDmxStartAddress(address);
    device->SetDmxFootprint(footprint);
    return device;
}

class DeviceListViewTest : public ::testing::Test {
protected:
    // The tooltips of the rows, "-" for an unmarked row, by id.
    QMap<QString, QString> Marks() const {
        QMap<QString, QString> marks;
        const QStandardItemModel* model = m_view.SourceModel();
        for (int row = 0; row < model->rowCount(); ++row) {
            QString tip = model->item(row, 0)->toolTip();
            for (int column = 1; column < model->columnCount(); ++column) {
                EXPECT_EQ(model->item(row, column)->toolTip(), tip) << "one mark per row";
            }
            marks.insert(model->item(row, 0)->text(), tip.isEmpty() ? "-" : tip);
        }
        return marks;
    }

    DeviceManager m_manager{nullptr};
    DeviceListView m_view{&m_manager};
};

}  // namespace

TEST_F(DeviceListViewTest, RowsWhoseChannelsClashSayWithWhom) {
    RDMDevice* wash1 = PatchedFixture(0x4A4100000101, "Wash 1", 0, 1, 16);
    ORXDevice* spot = new ORXDevice(0, 0xA1B2C3);  // no footprint: takes no channels
    spot->SetWidget("stage");
    spot->m_dmxAddress = 5;
    m_manager.MergeDiscovery({wash1, PatchedFixture(0x4A4100000102, "Wash 2", 0, 15, 16),
                              PatchedFixture(0x4A4100000201, "Par", 1, 1, 7),
                              PatchedFixture(0x280000000, "Hazer", 2, 500, 16), spot});
    m_view.Refresh();

    const QStandardItemModel* model = m_view.SourceModel();
    EXPECT_EQ(model->headerData(DeviceListView::kChannelsColumn, Qt::Horizontal).toString(),
              "Channels");
    EXPECT_EQ(
        model->item(m_view.SourceRowOf(0x4A4100000102), DeviceListView::kChannelsColumn)->text(),
        "16");
    const QMap<QString, QString> expected = {
        {"0x4a4100000101", "Channels 1-16 overlap Wash 2 (0x4a4100000102)"},
        {"0x4a4100000102", "Channels 15-30 overlap Wash 1 (0x4a4100000101)"},
        {"0x4a4100000201", "-"},  // the same channels, on another port
        {"0x280000000", "Channels 500-515 run past channel 512"},
        {"0xa1b2c3", "-"},
    };
    EXPECT_EQ(Marks(), expected);

    // Moving a fixture away clears both marks.
    wash1->SetDmxStartAddress(100);
    ASSERT_TRUE(QTest::qWaitFor([&] { return Marks().value("0x4a4100000102") == "-"; }, 5000));
    EXPECT_EQ(Marks().value("0x4a4100000101"), "-");
}
