// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QCoreApplication;

namespace window::qt {

// Installs Qt's own translations for the user's language (from the environment: LANGUAGE,
// LC_ALL, LC_MESSAGES, LANG), so the toolkit's texts follow it: the fields' context menu, the
// message box's button. The program's own texts have no translations and stay as they are.
// Read once from where Qt keeps its translations; returns false, leaving the toolkit in English,
// when there are none for that language (or none installed).
bool installToolkitTranslations(QCoreApplication &application);

} // namespace window::qt
