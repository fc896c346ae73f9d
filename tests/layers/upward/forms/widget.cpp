// Qt outside a Qt binding: must be refused.
#include <QWidget>
#include "forms/form.h"
