#pragma once

class QLineEdit;

namespace client {

// Keeps a one-line box on one line: a line break pasted or set into it becomes one space, as the box
// already shows it, so that what is sent is what the user saw.
void keepOnOneLine(QLineEdit *box);

} // namespace client
