// The two tests of the device page: the device test (does the recorder answer the
// identification at 4800 baud?) and the maximum-baud test (switch the recorder through the
// fast rates, read ten blocks at each, and select the highest rate below the first failing
// one in CB_MaxBaud and MaxBaud). Both bracket their dialogue with the window's control lock,
// and both return the window to its idle state when a port error ends them early. Neither
// starts while another dialogue holds the link; a closing window ends them properly.
#pragma once

#include <QCoroTask>

#include "device/link.h"

namespace pulvitra {

class CommTests {
 public:
  CommTests(Link& link, BaudSelector& CB_MaxBaud) : link_(link), CB_MaxBaud_(CB_MaxBaud) {}

  // The device test: identify the recorder at 4800 baud and say whether it answered.
  QCoro::Task<> run_device_test();
  // The rate test: find the highest rate the line carries and select it.
  QCoro::Task<> run_rate_test();

 private:
  QCoro::Task<> device_test();
  QCoro::Task<> max_baud_test();
  // Reads ten blocks at the current rate; false when one did not come or the line failed.
  QCoro::Task<bool> ten_blocks_arrive();
  QCoro::Task<> wind_down();
  void lock();
  void unlock();

  Link& link_;
  BaudSelector& CB_MaxBaud_;
};

}  // namespace pulvitra
