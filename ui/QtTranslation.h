#pragma once

class QCoreApplication;

namespace qzds {

// Makes Qt's own texts (the field's context menu: 撤消, 复制, 粘贴, ...) Simplified Chinese,
// whatever the user's locale: the program speaks Chinese throughout. Without Qt's translation
// file on the machine they stay as Qt wrote them, and the program runs all the same.
void InstallQtTranslation(QCoreApplication& app);

} // namespace qzds
