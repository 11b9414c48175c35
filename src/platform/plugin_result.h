// The results that the exported entry points hand the host, named once for
// every floor that decides one; the exports check them against the values
// they publish.
#pragma once

namespace pelo {

enum PluginResult : int {
  kResultSuccess = 0,
  // The first bytes matched a format, but the content was rejected.
  kResultRejected = 3,
  // The picture's blocks cannot be allocated or locked.
  kResultNoMemory = 5,
  // A file source cannot be opened.
  kResultOpenFailed = 6,
  // Neither format, or the file layer failed underneath a reader.
  kResultUnknownFormat = 8,
  kResultNotProvided = -1,
};

}  // namespace pelo
