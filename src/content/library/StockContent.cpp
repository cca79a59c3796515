#include "content/library/StockContent.h"

#include "archive/ArchivePath.h"
#include "content/NamedPolicies.h"
#include "os/NamedFolders.h"

namespace {

QString StockPackagePath(const QString& folder, const char* name) {
    return QLatin1String(ArchivePath::kDecodePrefix) + folder + '/' + QLatin1String(name) +
           ".lumopkg";
}

}  // namespace

MarqaStockContent::MarqaStockContent(const QString& stockFolder)
    : ContentLibraryPackageFile(StockPackagePath(stockFolder, "marqa_stock_content"),
                                &NamedPolicies::StandardStockContent()) {
    SetName("MARQA");
    Scan();
}

SolviStockContent::SolviStockContent(const QString& stockFolder)
    : ContentLibraryPackageFile(StockPackagePath(stockFolder, "solvi_stock_content"),
                                &NamedPolicies::StandardStockContent()) {
    SetName("Solvi");
    Scan();
}

StockContentRoot::StockContentRoot(const QString& stockFolder) {
    SetName("Stock Content");
    const QString folder =
        stockFolder.isEmpty() ? Os::NamedFolders::Path("StockContent") : stockFolder;
    AppendFolder(std::make_unique<MarqaStockContent>(folder));
    AppendFolder(std::make_unique<SolviStockContent>(folder));
}
