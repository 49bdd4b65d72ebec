// Rules for the patient texts of a recording: the character filter applied when texts come
// back from a file (and in the printed header), the date as the file's date field is read
// back, and the date as New writes it.
#pragma once

#include <QDate>
#include <QString>

namespace pulvitra {

// Keeps letters, digits, the German umlauts and "ß" and the marks . , / ! ? + - % ( );
// keeps a blank unless it is the first character or follows another blank; drops the rest
// (zero bytes included). A blank after a dropped character stays.
QString clean_text(const QString& text);

// The date as read back from the 12 characters of the file's date field: a one-digit day or
// month gets a leading "0", and the year is cut to two digits ("1.2.1999" -> "01.02.99").
QString rebuild_date(const QString& field);

// dd.mm.yy with leading zeros and the year modulo 100 (7 March 2005 -> "07.03.05").
QString date_text(const QDate& date);

}  // namespace pulvitra
