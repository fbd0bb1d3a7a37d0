// The system's kernel behind the backend's seam, on this machine's real
// kernel: errors come back as -errno and are named by the wrapper, the event
// counter wakes a poll, and the device lookup lists only DVB nodes.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <linux/dvb/frontend.h>

#include "platform/linuxdvb/kernel_calls.h"

namespace linuxdvb {
namespace {

TEST(SystemKernel, FailuresAreNamedAndTheEventCounterWakesAPoll) {
  KernelCalls calls(SystemDvbKernel());

  const CallResult missing = calls.Open("/dev/dvb/adapter99/frontend0", O_RDWR);
  ASSERT_FALSE(missing.Ok());
  EXPECT_EQ(missing.Error().Describe(), "open on /dev/dvb/adapter99/frontend0: No such file or directory (ENOENT)");

  const CallResult null = calls.Open("/dev/null", O_RDONLY);
  ASSERT_TRUE(null.Ok());
  DeviceFd fd(&calls, static_cast<int>(null.Value()));
  dvb_frontend_info info{};
  const CallResult notDvb = calls.Ioctl(fd.Get(), FE_GET_INFO, &info);
  ASSERT_FALSE(notDvb.Ok());
  EXPECT_EQ(notDvb.Error().Describe(), "FE_GET_INFO on /dev/null: Inappropriate ioctl for device (ENOTTY)");

  const CallResult event = calls.EventFd();
  ASSERT_TRUE(event.Ok());
  DeviceFd wake(&calls, static_cast<int>(event.Value()));
  pollfd fds[1] = {{wake.Get(), POLLIN, 0}};
  CallResult ready = calls.Poll(fds, 1, 0);
  ASSERT_TRUE(ready.Ok());
  EXPECT_EQ(ready.Value(), 0) << "nothing written yet";
  const std::uint64_t one = 1;
  ASSERT_TRUE(calls.Write(wake.Get(), &one, sizeof one).Ok());
  ready = calls.Poll(fds, 1, 1000);
  ASSERT_TRUE(ready.Ok());
  EXPECT_EQ(ready.Value(), 1);
  EXPECT_TRUE(fds[0].revents & POLLIN);
}

TEST(SystemKernel, TheDeviceLookupListsOnlyDvbNodes) {
  for (const DvbNode& node : SystemDvbKernel()->ListNodes()) {
    EXPECT_TRUE(node.path.starts_with("/dev/dvb/adapter")) << node.path;
    EXPECT_TRUE(node.syspath.starts_with("/sys/")) << node.syspath;
  }
}

}  // namespace
}  // namespace linuxdvb
