#pragma once

class QLabel;
class QWidget;

namespace pixmond {

// A sunken label for a folder or file path in the tool dialogs: plain text, selectable, and cut at the dialog's
// edge rather than widening the dialog when the path is long.
QLabel* NewPathLabel(QWidget* parent);

}  // namespace pixmond
