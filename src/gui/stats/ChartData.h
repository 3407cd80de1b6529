#pragma once

#include <QString>
#include <QVector>

// One chart and the table beside it: a name and a number per row, the number also as shown.
struct ChartData {
    struct Row {
        QString name;
        double value = 0.0;
        QString text; // the value in the user's locale
    };
    QString title;
    QString valueCaption;
    QVector<Row> rows;
};
