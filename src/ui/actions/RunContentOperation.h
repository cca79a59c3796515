#pragma once

#include <memory>

class ContentOperation;
class QWidget;

// Runs a content operation under the operation dialog: on the main window when there is one
// (its messages become information boxes there), else over `parent`. True when it succeeded.
bool RunContentOperation(QWidget* parent, std::unique_ptr<ContentOperation> operation);
