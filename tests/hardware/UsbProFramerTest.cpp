#include "hardware/usbpro/UsbProFramer.h"

#include <gtest/gtest.h>

using namespace Hardware::UsbPro;

namespace {

QByteArray Bytes(const char* hex) {
    return QByteArray::fromHex(hex);
}

}  // namespace

TEST(UsbProFramerTest, EncodesLabelLengthLowByteFirstAndEndByte) {
    EXPECT_EQ(Encode(kSerialNumber), Bytes("7e0a0000e7"));
    EXPECT_EQ(Encode(kSendDmx, QByteArray(258, '\x01')).left(4), Bytes("7e060201"));
    EXPECT_EQ(Encode(kSendRdm, QByteArray(700, '\0')).size(), kHeaderSize + kMaxData + 1);
}

TEST(UsbProFramerTest, CutsStreamsIntoMessagesWhateverComesAround) {
    const QByteArray serial = Encode(kSerialNumber, Bytes("78563412"));
    const QByteArray timeout = Encode(kRdmTimeout);
    QByteArray oversized = Bytes("7e05bd02");  // 701 bytes announced
    oversized += QByteArray(701, '\0') + Bytes("e7");
    const struct {
        const char* name;
        QList<QByteArray> pieces;
        int messages;
        QString fault;  // the start of the first fault described, if any
    } cases[] = {
        {"whole", {serial + timeout}, 2, {}},
        {"one byte at a time",
         [&] {
             QList<QByteArray> bytes;
             for (char b : serial + timeout) {
                 bytes.append(QByteArray(1, b));
             }
             return bytes;
         }(),
         2,
         {}},
        {"garbage between", {Bytes("0055e7") + serial + Bytes("aa") + timeout}, 2, "skipped 3"},
        {"torn header in the garbage",
         {Bytes("7e0502"), Bytes("00") + serial + timeout},
         2,
         "dropped a message with label 5"},
        {"longer than allowed", {oversized + timeout}, 1, "dropped a message of 701 bytes"},
        {"no end byte",
         {serial.left(serial.size() - 1) + "x" + timeout},
         1,
         "dropped a message with label 10"},
    };
    for (const auto& c : cases) {
        Framer framer;
        QList<Message> messages;
        QStringList faults;
        for (const QByteArray& piece : c.pieces) {
            const Framer::Result result = framer.Feed(piece);
            messages += result.messages;
            faults += result.faults;
        }
        ASSERT_EQ(messages.size(), c.messages) << c.name;
        EXPECT_EQ(messages.last(), (Message{kRdmTimeout, {}})) << c.name;
        if (c.messages == 2) {
            EXPECT_EQ(messages.first(), (Message{kSerialNumber, Bytes("78563412")})) << c.name;
        }
        if (c.fault.isEmpty()) {
            EXPECT_TRUE(faults.isEmpty()) << c.name << ": " << faults.join("; ").toStdString();
        } else {
            ASSERT_FALSE(faults.isEmpty()) << c.name;
            EXPECT_TRUE(faults.first().startsWith(c.fault)) << faults.first().toStdString();
        }
    }
}
