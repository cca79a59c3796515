#pragma once

#include <QString>
#include <QStringList>

#include <list>
#include <memory>
#include <vector>

class ContentBase;
class ContentFolder;
class DeviceSession;
class LumoRDM;
class QCommandLineParser;
class RDMDevice;

// A place of content named on the command line:
//   lib:[PACKAGE[/FOLDER[/ITEM]]]        the user content library
//   stock:[PACKAGE[/FOLDER[/ITEM]]]      the stock content ("MARQA", "Solvi")
//   quorel:[PACKAGE[/FOLDER[/ITEM]]]     the Quorel content library
//   pkg:FILE[/FOLDER[/ITEM]]             inside a package file
//   UID[/FOLDER[/FILE]]                  on a fixture, folder and file by number (a UID
//                                        alone is the fixture's user content)
// Names are matched without regard to case.
struct ContentLocation {
    enum Kind { Library, Stock, Quorel, PackageFile, Fixture };

    Kind kind = Library;
    QString file;      // PackageFile: the archive file
    quint64 uid = 0;   // Fixture
    QStringList path;  // the names, or the fixture's numbers, below the root

    // False, with the reason, for text that names no place.
    static bool Parse(const QString& text, ContentLocation* location, QString* error);
    bool IsFixture() const { return kind == Fixture; }
};

// Opens what the locations of one run name and keeps it open for the run: the libraries,
// the package files, and (through one device session) the fixtures with their content
// trees read.
class ContentPlaces {
public:
    explicit ContentPlaces(const QCommandLineParser& parser);
    ~ContentPlaces();
    ContentPlaces(const ContentPlaces&) = delete;
    ContentPlaces& operator=(const ContentPlaces&) = delete;

    // The object the location names; null with the reason when there is none.
    ContentBase* Resolve(const ContentLocation& location, QString* error);
    // A package file made anew (replaced when the operation's work is done) for content
    // copied from `sample`'s family; null with the reason when the family is unknown.
    ContentFolder* NewPackageFile(const QString& file, const ContentBase* sample, QString* error);
    // The located fixture of that UID (its content read), or null with the reason.
    LumoRDM* Fixture(quint64 uid, QString* error);
    // Every LED fixture found by a discovery, their content read.
    QList<LumoRDM*> AllFixtures(QString* error);
    // The device session, opened on first use.
    DeviceSession* Session(QString* error);
    // Drops the package files made anew, which writes them.
    void WritePackageFiles();

private:
    ContentFolder* Root(ContentLocation::Kind kind, const QString& file, QString* error);
    ContentBase* Fixture(const ContentLocation& location, QString* error);

    const QCommandLineParser& m_parser;
    std::unique_ptr<DeviceSession> m_session;
    std::vector<std::unique_ptr<ContentFolder>> m_roots;  // libraries and package files
    std::vector<std::unique_ptr<ContentFolder>> m_written;
    std::list<std::unique_ptr<RDMDevice>> m_devices;
    std::unique_ptr<ContentFolder> m_library, m_stock, m_quorel;
};
