#include "app/launch/launch_notice.h"

namespace app {

LaunchNotice NoticeFor(LaunchKind kind, bool product_unknown, platform::StartError start) {
  if (product_unknown) return LaunchNotice::kOfferRemoval;
  switch (kind) {
    case LaunchKind::kNoCommand:
      return LaunchNotice::kCannotUninstall;
    case LaunchKind::kMissing:
      return LaunchNotice::kOfferRemoval;
    case LaunchKind::kRefused:
      return LaunchNotice::kMissingUninstaller;
    case LaunchKind::kUnreachable:
      return LaunchNotice::kStartFailed;
    case LaunchKind::kStart:
      break;
  }
  // A user who declines to give the rights has answered already.
  if (start == platform::kStartOk || start == platform::kErrorCancelled) return LaunchNotice::kNone;
  return LaunchNotice::kStartFailed;
}

}  // namespace app
