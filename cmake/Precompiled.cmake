# Build speed. The toolkit and test headers that nearly every file includes are parsed once per
# target (precompiled headers), and with AUREL_UNITY the big libraries and the tests compile their
# files in batches, which parses each header and instantiates each template once per batch instead
# of once per file. Unity batches are for whole builds (the test command turns them on); day-to-day
# builds keep one object per file.
option(AUREL_UNITY "Compile the big libraries and the tests in batches of files" OFF)

set(AUREL_CORE_PCH
    <QByteArray> <QDir> <QFile> <QFileInfo> <QHash> <QList> <QMap> <QMutex> <QObject>
    <QPointer> <QString> <QStringList> <QThread> <QTimer> <QUuid> <QtEndian>
    <algorithm> <array> <atomic> <functional> <map> <memory> <mutex> <optional> <vector>)
set(AUREL_UI_PCH ${AUREL_CORE_PCH}
    <QApplication> <QDialog> <QLabel> <QStandardItemModel> <QVBoxLayout> <QWidget>)
set(AUREL_TEST_PCH ${AUREL_CORE_PCH}
    <QCoreApplication> <QTemporaryDir> <gmock/gmock.h> <gtest/gtest.h>)

# aurel_batched(target): the target's files compile in batches when AUREL_UNITY is on. In a batch
# every file but the first is compiled as if included, so the compiler's warning about classes
# based on a type of an anonymous namespace, meant for headers, would fire on test fixtures.
function(aurel_batched target)
    if(AUREL_UNITY)
        set_target_properties(${target} PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE 12)
        target_compile_options(${target} PRIVATE -Wno-subobject-linkage)
    endif()
endfunction()
