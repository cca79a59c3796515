#pragma once

#include "zub/CountedRef.h"

#include <QString>

#include <atomic>
#include <shared_mutex>
#include <vector>

namespace Os::Log {

enum class Level { Debug = 0, Info = 1, Warning = 2, Error = 3, Off = 4 };

// A named node in the category tree. A category without a level of its own follows its
// parent; the default level is Info. AUREL_LOG sets levels at start-up, for example
// "Hardware=debug,Hardware.DmxWidget=off".
class Category {
public:
    explicit Category(const char* name, Category* parent = nullptr);
    Category(const Category&) = delete;
    Category& operator=(const Category&) = delete;

    bool IsEnabled(Level level) const {
        return static_cast<int>(level) >= m_threshold.load(std::memory_order_relaxed);
    }

    const char* Name() const { return m_name; }
    const Category* Parent() const { return m_parent; }
    QString FullName() const;  // "Hardware.WidgetManager"

    // Sets this category's own level (children without one follow it).
    void SetLevel(Level level);
    // Drops this category's own level: it follows its parent again.
    void ClearLevel();

private:
    friend class CategoryRegistry;
    int InheritedThreshold() const;

    const char* m_name;
    Category* m_parent;
    int m_ownLevel = -1;  // -1: follow the parent; guarded by the registry's lock
    std::atomic<int> m_threshold{static_cast<int>(Level::Info)};
};

struct Record {
    const Category* category = nullptr;
    Level level = Level::Info;
    const char* file = "";
    QString function;  // the qualified name, "Hardware::WidgetManager::Init"
    int line = 0;
    QString text;
};

// What a writer gets for one record.
struct Context {
    const Record* record = nullptr;
    qint64 processId = 0;
    QString processName;
    qint64 threadId = 0;
    QString threadName;
    QString file;  // the part after the last path separator
    QString function;
    int line = 0;
    QString text;
};

class Writer : public zub::counter {
public:
    virtual QString Name() const = 0;
    virtual bool Filter(const Record& record) const;
    virtual void Write(const Context& context) = 0;
};

class Manager {
public:
    static Manager& Instance();

    void AddWriter(zub::counted_ref<Writer> writer);
    void RemoveWriter(const Writer* writer);

    // Passes the record to each writer whose filter takes it, in registration order.
    // A writer that throws is reported through the manager's own category; the rest still run.
    void Log(const Record& record);

private:
    Manager();
    void ReportWriterFailure(const QString& text);

    std::shared_mutex m_lock;
    std::vector<zub::counted_ref<Writer>> m_writers;
};

// Text of a log record is cut to what fits its 1500-character buffer.
constexpr int kTextCapacity = 1500;

void Write(const Category& category, Level level, const char* file, const char* prettyFunction,
           int line, const QString& text);

// "void Hardware::WidgetManager::Init()" -> "Hardware::WidgetManager::Init"
QString QualifiedFunctionName(const char* prettyFunction);

// The foundation's categories.
Category& Os();
Category& Process();
Category& Xtti();
Category& LogRoot();
Category& LogManager();
Category& SysLog();

}  // namespace Os::Log

// Every log site tests its category first, so a disabled site costs one load and compare.
#define OS_LOG(category, level, text)                                                        \
    do {                                                                                     \
        const ::Os::Log::Category& osLogCategory_ = (category);                              \
        if (osLogCategory_.IsEnabled(level)) {                                               \
            ::Os::Log::Write(osLogCategory_, level, __FILE__, __PRETTY_FUNCTION__, __LINE__, \
                             (text));                                                        \
        }                                                                                    \
    } while (0)

#define OS_LOG_DEBUG(category, text) OS_LOG(category, ::Os::Log::Level::Debug, text)
#define OS_LOG_INFO(category, text) OS_LOG(category, ::Os::Log::Level::Info, text)
#define OS_LOG_WARNING(category, text) OS_LOG(category, ::Os::Log::Level::Warning, text)
#define OS_LOG_ERROR(category, text) OS_LOG(category, ::Os::Log::Level::Error, text)
