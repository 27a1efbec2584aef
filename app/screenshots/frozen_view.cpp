#include "app/screenshots/frozen_view.h"

#include "app/run_look.h"
#include "ui/CVtListCtrlEx.h"

namespace {

// The diagnosis log's columns.
constexpr int kTimeColumn = 1;
constexpr int kPortColumn = 3;
constexpr int kElapsedColumn = 4;
constexpr int kResultColumn = 5;

const QString kFrozenTimeOfDay = QStringLiteral("10:24:31");
constexpr int kFrozenElapsedMs = 3;

// Ports a product's servers typically listen on, by the lab scenarios' server names.
const QMap<QString, int> kStandInByName = {{QStringLiteral("api"), 443},
                                           {QStringLiteral("gateway"), 7002},
                                           {QStringLiteral("proxy"), 3128},
                                           {QStringLiteral("session"), 7001},
                                           {QStringLiteral("session_high"), 17001},
                                           {QStringLiteral("update"), 8080},
                                           {QStringLiteral("web"), 80},
                                           {QStringLiteral("web_down"), 8081}};
// Servers without a stand-in above get one from here on, in name order.
constexpr int kFirstSpareStandIn = 9001;

}  // namespace

QMap<QString, QString> StandInPorts(const QMap<QString, int>& bound_ports) {
    QMap<QString, QString> stand_ins;
    int spare = kFirstSpareStandIn;
    for (auto it = bound_ports.begin(); it != bound_ports.end(); ++it) {
        const int stand_in = kStandInByName.value(it.key(), 0);
        stand_ins.insert(QString::number(it.value()), QString::number(stand_in != 0 ? stand_in : spare++));
    }
    return stand_ins;
}

void FreezeLogRows(CVtListCtrlEx& list, const QMap<QString, QString>& stand_in_ports) {
    for (int row = 0; row < list.GetRowCount(); ++row) {
        list.SetItemText(row, kTimeColumn, kFrozenTimeOfDay, false);
        const QString port = list.GetItemText(row, kPortColumn);
        if (stand_in_ports.contains(port))
            list.SetItemText(row, kPortColumn, stand_in_ports.value(port), false);
        if (list.GetItemText(row, kElapsedColumn).isEmpty()) continue;
        list.SetItemText(row, kElapsedColumn, QString::number(kFrozenElapsedMs) + QStringLiteral("ms"),
                         false);
        // A failed row keeps its row colour; a passed one shows the colour of the frozen time.
        if (list.GetItemText(row, kResultColumn) == QStringLiteral("Ok"))
            list.SetCellTextColor(row, kElapsedColumn, elapsed_color(kFrozenElapsedMs));
    }
    list.viewport()->update();
}
