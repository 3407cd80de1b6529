#include "freedb/CdioLog.h"

#include <cdio/logging.h>
#include <mutex>

namespace
{

cdio_log_handler_t previousHandler = nullptr;

void quietHandler(cdio_log_level_t level, const char* message)
{
    if (level == CDIO_LOG_ASSERT && previousHandler)
        previousHandler(level, message);
}

} // namespace

void CdioLog::install()
{
    static std::once_flag installed;
    std::call_once(installed, [] { previousHandler = cdio_log_set_handler(quietHandler); });
}
