#pragma once

#include "content/ContentContainerFolder.h"
#include "content/library/ContentLibraryPackageFile.h"

// The stock content that comes with the program: enciphered ".lumopkg" packages in the
// "StockContent" folder, read through the decrypting reader, descriptions included.

// The "MARQA" stock package, "marqa_stock_content.lumopkg".
class MarqaStockContent : public ContentLibraryPackageFile {
    Q_OBJECT

public:
    explicit MarqaStockContent(const QString& stockFolder);
};

// The "Solvi" stock package, "solvi_stock_content.lumopkg".
class SolviStockContent : public ContentLibraryPackageFile {
    Q_OBJECT

public:
    explicit SolviStockContent(const QString& stockFolder);
};

// "Stock Content": holds the two stock packages.
class StockContentRoot : public ContentContainerFolder {
    Q_OBJECT

public:
    // The packages in `stockFolder`; an empty one means the "StockContent" named folder.
    explicit StockContentRoot(const QString& stockFolder = QString());

    bool IsReadOnly() const override { return true; }
    bool ChildrenReadOnly() const override { return true; }
};
