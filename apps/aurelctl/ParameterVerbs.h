#pragma once

#include <QStringList>

// Verbs that read and set a fixture's standard parameters, and send any RDM request.
//   aurelctl get UID [PARAM]
//   aurelctl set UID PARAM VALUE
//   aurelctl rdm get|set UID PID [HEXDATA]
namespace ParameterVerbs {

int Get(const QStringList& arguments);
int Set(const QStringList& arguments);
int Rdm(const QStringList& arguments);

}  // namespace ParameterVerbs
