#include "app/wizard_handover.h"

#include <QComboBox>

#include "app/device_page.h"
#include "app/patient_page.h"
#include "app/tmain.h"
#include "app/upload_controller.h"

namespace pulvitra::wizard_handover {

PatientFields patient_fields(const TMain& main) { return main.patient->fields(); }

void set_patient_fields(TMain& main, const PatientFields& fields) { main.patient->set_fields(fields); }

void open_file(TMain& main) { main.patient->open_file(); }

QCoro::Task<> start_upload(TMain& main) {
  if (auto* controller = main.findChild<UploadController*>()) co_await controller->Button3Click();
}

QStringList port_items(const TMain& main) {
  QStringList items;
  if (auto* ports = main.control<QComboBox>("CB_Comport"))
    for (int i = 0; i < ports->count(); ++i) items << ports->itemText(i);
  return items;
}

QCoro::Task<> select_port(TMain& main, const QString& port) {
  main.port_name = port;
  if (auto* ports = main.control<QComboBox>("CB_Comport")) ports->setEditText(port);
  Link& link = main.device->link();
  // A dialogue that holds the link reselects the port itself when it next opens it.
  if (!link.claim(Dialogue::PortChoice)) co_return;
  co_await Link::run_reporting(link, link.v24_reset());
  link.release();
}

}  // namespace pulvitra::wizard_handover
