#pragma once

#include <QString>

namespace platform {

// The Japanese text of a system error number, whatever the locale, for the
// failures a file write can meet (no space, read-only, no permission, too
// many links, input/output error, quota...). A number without a text of its
// own is named by its symbol, e.g. "システム エラー (ESTALE) です。".
QString SystemErrorText(int code);

} // namespace platform
