// What the wizard asks of the main window: the patient fields, Open, the upload and the port.
// Every call of the wizard into the main window's pages goes through here, so the wizard
// runs exactly the operations the main window's own buttons run.
#pragma once

#include <QCoroTask>
#include <QString>
#include <QStringList>

#include "files/recording_file.h"

namespace pulvitra {

class TMain;

namespace wizard_handover {

PatientFields patient_fields(const TMain& main);
void set_patient_fields(TMain& main, const PatientFields& fields);

// The main window's Open after its discard question (the wizard's button asked it already):
// the file dialog and, when a file was chosen, the same loading as the patient page's Open.
void open_file(TMain& main);

// The upload of the device page's Button3; the task ends with the upload.
QCoro::Task<> start_upload(TMain& main);

// The items of the main window's port selector CB_Comport, in their order.
QStringList port_items(const TMain& main);

// The port chosen in the wizard becomes the main window's port at once: port_name, the text
// of CB_Comport, then the port reselected and reopened at 4800 baud. A failure to open is
// reported in the communication status.
QCoro::Task<> select_port(TMain& main, const QString& port);

}  // namespace wizard_handover

}  // namespace pulvitra
