#include "os/Log.h"

#include "os/SysLogWriter.h"
#include "os/Thread.h"
#include "zub/Exception.h"

#include <QHash>

#include <unistd.h>
#include <cstdlib>
#include <mutex>

namespace Os::Log {

// Keeps every category so that a level change reaches the children that follow it.
class CategoryRegistry {
public:
    static CategoryRegistry& Instance() {
        static CategoryRegistry registry;
        return registry;
    }

    void Add(Category* category) {
        std::lock_guard lock(m_mutex);
        m_categories.push_back(category);
        const auto configured = m_configured.constFind(category->FullName().toLower());
        if (configured != m_configured.constEnd()) {
            category->m_ownLevel = *configured;
        }
        Recompute(category);
    }

    void SetOwnLevel(Category* category, int level) {
        std::lock_guard lock(m_mutex);
        category->m_ownLevel = level;
        // Parents are created before their children, so one pass in creation order suffices.
        for (Category* each : m_categories) {
            Recompute(each);
        }
    }

private:
    CategoryRegistry() { ParseEnvironment(); }

    static void Recompute(Category* category) {
        category->m_threshold.store(category->InheritedThreshold(), std::memory_order_relaxed);
    }

    void ParseEnvironment() {
        const QString setting = QString::fromLocal8Bit(qgetenv("AUREL_LOG"));
        static const QHash<QString, int> levels = {
            {"debug", int(Level::Debug)},     {"info", int(Level::Info)},
            {"warning", int(Level::Warning)}, {"error", int(Level::Error)},
            {"off", int(Level::Off)},
        };
        for (const QString& item : setting.split(',', Qt::SkipEmptyParts)) {
            const QString name = item.section('=', 0, 0).trimmed().toLower();
            const auto level = levels.constFind(item.section('=', 1).trimmed().toLower());
            if (!name.isEmpty() && level != levels.constEnd()) {
                m_configured.insert(name, *level);
            }
        }
    }

    std::mutex m_mutex;
    std::vector<Category*> m_categories;
    QHash<QString, int> m_configured;
};

Category::Category(const char* name, Category* parent) : m_name(name), m_parent(parent) {
    CategoryRegistry::Instance().Add(this);
}

QString Category::FullName() const {
    const QString own = QString::fromLatin1(m_name);
    return m_parent ? m_parent->FullName() + '.' + own : own;
}

void Category::SetLevel(Level level) {
    CategoryRegistry::Instance().SetOwnLevel(this, static_cast<int>(level));
}

void Category::ClearLevel() {
    CategoryRegistry::Instance().SetOwnLevel(this, -1);
}

int Category::InheritedThreshold() const {
    for (const Category* c = this; c; c = c->m_parent) {
        if (c->m_ownLevel >= 0) {
            return c->m_ownLevel;
        }
    }
    return static_cast<int>(Level::Info);
}

bool Writer::Filter(const Record&) const {
    return true;
}

Manager& Manager::Instance() {
    static Manager manager;
    return manager;
}

Manager::Manager() {
    m_writers.emplace_back(new SysLogWriter);
}

void Manager::AddWriter(zub::counted_ref<Writer> writer) {
    std::unique_lock lock(m_lock);
    m_writers.push_back(std::move(writer));
}

void Manager::RemoveWriter(const Writer* writer) {
    std::unique_lock lock(m_lock);
    std::erase_if(m_writers, [writer](const auto& each) { return each.get() == writer; });
}

namespace {

QString BaseName(const char* path) {
    const QString file = QString::fromLocal8Bit(path);
    const qsizetype cut = std::max(file.lastIndexOf('/'), file.lastIndexOf('\\'));
    return file.mid(cut + 1);
}

// Depth of writer-failure reports on this thread: a writer that also fails while the
// failure is reported must not start an endless chain of reports.
thread_local int t_reportDepth = 0;

}  // namespace

void Manager::Log(const Record& record) {
    Context context;
    context.record = &record;
    context.processId = ::getpid();
    context.processName = Thread::ProcessName();
    context.threadId = Thread::CurrentId();
    context.threadName = Thread::CurrentName();
    context.file = BaseName(record.file);
    context.function = record.function;
    context.line = record.line;
    context.text = record.text;

    // The writers are taken under the read lock; each reference is the guard that keeps
    // its writer alive through the call, even if it is removed meanwhile.
    std::vector<zub::counted_ref<Writer>> writers;
    {
        std::shared_lock lock(m_lock);
        writers = m_writers;
    }
    for (const zub::counted_ref<Writer>& guard : writers) {
        if (!guard->Filter(record)) {
            continue;
        }
        try {
            guard->Write(context);
        } catch (const zub::Exception& e) {
            ReportWriterFailure("caught zub exception " + e.Text() + " from writer " +
                                guard->Name());
        } catch (const std::exception& e) {
            ReportWriterFailure("caught std exception " + QString::fromLocal8Bit(e.what()));
        }
    }
}

void Manager::ReportWriterFailure(const QString& text) {
    if (t_reportDepth > 0 || !LogManager().IsEnabled(Level::Error)) {
        return;
    }
    ++t_reportDepth;
    Record record;
    record.category = &LogManager();
    record.level = Level::Error;
    record.file = __FILE__;
    record.function = QStringLiteral("Os::Log::Manager::Log");
    record.line = __LINE__;
    record.text = text;
    Log(record);
    --t_reportDepth;
}

void Write(const Category& category, Level level, const char* file, const char* prettyFunction,
           int line, const QString& text) {
    Record record;
    record.category = &category;
    record.level = level;
    record.file = file;
    record.function = QualifiedFunctionName(prettyFunction);
    record.line = line;
    record.text = text.size() < kTextCapacity ? text : text.left(kTextCapacity - 1);
    Manager::Instance().Log(record);
}

QString QualifiedFunctionName(const char* prettyFunction) {
    const QString pretty = QString::fromLatin1(prettyFunction);
    // The parameter list starts at the first '(' outside template brackets.
    int depth = 0;
    qsizetype open = pretty.size();
    for (qsizetype i = 0; i < pretty.size(); ++i) {
        const QChar c = pretty.at(i);
        if (c == '<') {
            ++depth;
        } else if (c == '>') {
            --depth;
        } else if (c == '(' && depth == 0) {
            open = i;
            break;
        }
    }
    // The return type ends at the last blank outside template brackets before it.
    depth = 0;
    qsizetype start = 0;
    for (qsizetype i = open - 1; i >= 0; --i) {
        const QChar c = pretty.at(i);
        if (c == '>') {
            ++depth;
        } else if (c == '<') {
            --depth;
        } else if (c == ' ' && depth == 0) {
            start = i + 1;
            break;
        }
    }
    return pretty.mid(start, open - start);
}

Category& Os() {
    static Category category("Os");
    return category;
}

Category& Process() {
    static Category category("Process");
    return category;
}

Category& Xtti() {
    static Category category("Xtti");
    return category;
}

Category& LogRoot() {
    static Category category("Log");
    return category;
}

Category& LogManager() {
    static Category category("Manager", &LogRoot());
    return category;
}

Category& SysLog() {
    static Category category("SysLog");
    return category;
}

}  // namespace Os::Log
