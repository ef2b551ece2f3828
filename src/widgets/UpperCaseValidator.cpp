#include "widgets/UpperCaseValidator.h"

QValidator::State UpperCaseValidator::validate(QString& input, int&) const {
    // Only a-z: a full Unicode case mapping may change the text's length
    // (German sharp s becomes "SS") and move the cursor.
    for (QChar& c : input) {
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z')) c = QChar(c.unicode() - 'a' + 'A');
    }
    return Acceptable;
}
