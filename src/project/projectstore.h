#pragma once
// The job tables: 工程 (jobs), 工程门窗 (their door/window lines), 标注 (named dimensions of a line),
// 标注2 (components of combined lines, and the work rows of the open combined dialog under
// MCBN -1) and 工程合同 (contract sheets). Every statement on them lives here; values are bound, and
// every change of more than one statement is all or nothing.
#include "jobtypes.h"
#include "platform/database.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QVariant>
#include <array>
#include <memory>
#include <optional>

namespace project {

class ProjectStore
{
public:
    ProjectStore();
    explicit ProjectStore(QSqlDatabase db);

    QSqlDatabase db() const { return m_db; }
    QString lastError() const { return m_error; }

    // --- jobs
    std::optional<QList<Job>> loadJobs();
    // Takes the next 编号 and inserts; returns the number.
    std::optional<qint64> addJob(const Job &job);
    bool updateJob(const Job &job);
    // The job with its lines, their named dimensions and components, and its contract sheet.
    bool deleteJob(qint64 id);

    // --- lines
    // A job's lines in 编号 order.
    std::optional<QList<JobLine>> loadLines(qint64 jobId);
    std::optional<QList<NamedDimension>> loadDimensions(qint64 lineId);
    // The same for many lines, in their order, through one statement prepared once.
    std::optional<QList<QList<NamedDimension>>> loadDimensions(const QList<qint64> &lineIds);
    // A new plain line of a type with its named dimensions; returns its 编号.
    std::optional<qint64> addPlainLine(qint64 jobId, qint64 typeNo, const LineFields &fields,
                                       const QList<NamedDimension> &dims);
    // Rewrites the six fields and replaces the named dimensions; job, type and number stay.
    bool updatePlainLine(qint64 lineId, const LineFields &fields, const QList<NamedDimension> &dims);
    // The line with its named dimensions and components.
    bool deleteLine(qint64 lineId);
    // Copies lines (with their dimension and component rows, read by their own 编号) into a job
    // under new consecutive numbers, in list order; returns the new numbers.
    std::optional<QList<qint64>> copyLines(qint64 targetJobId, const QList<JobLine> &lines);

    // --- components of combined lines and the work rows of the combined dialog
    // The rows of one node of a line (mcbn = the line's 编号) or of the dialog (kWorkMcbn).
    std::optional<QList<ComponentRow>> OpenZHMCPartRs(qint64 mcbn, const QString &cmc, qint64 cbn);
    // The distinct nodes of a line or of the dialog, by CBN then CMC.
    std::optional<QList<ComponentKey>> componentKeys(qint64 mcbn);
    // Each line's nodes (componentKeys) with their rows (OpenZHMCPartRs), in the lines' order, through
    // two statements prepared once.
    struct ComponentNode
    {
        ComponentKey key;
        QList<ComponentRow> rows;
    };
    std::optional<QList<QList<ComponentNode>>> componentNodes(const QList<qint64> &lineIds);
    // Removes every work row.
    bool clearWorkRows();
    // Work rows for editing a stored combined line: its components as they are, and its main
    // drawing's values (CBN = the line's 门窗编号, CMC = its name). Old work rows go first.
    bool beginCombinedEdit(qint64 lineId, qint64 typeNo, const QString &lineName);
    // Replaces the main drawing's work rows (any main drawing) by the labels, count 1.
    bool replaceMainWorkRows(qint64 mainCbn, const QString &cmc, const QList<NamedDimension> &dims);
    // Adds the work rows of a new component, count 1.
    bool addComponentWorkRows(qint64 typeNo, const QString &cmc, const QList<NamedDimension> &dims);
    bool removeWorkNode(const ComponentKey &key);
    // Replaces one node's work rows; an empty list leaves them.
    bool storeWorkNode(const ComponentKey &key, const QList<NamedDimension> &dims, const QVariant &count);
    // Saves the dialog's work as a combined line: lineId 0 adds a new line (returns its number),
    // otherwise the line is rewritten under its number. The main drawing's rows go to 标注, the
    // components to 标注2 under the line; no work row is left.
    std::optional<qint64> saveCombinedLine(qint64 lineId, qint64 jobId, qint64 mainNumber, const LineFields &fields);

    // --- contract sheet
    // nullopt on failure; an empty optional inside when the job has no sheet.
    std::optional<std::optional<ContractTexts>> loadContract(qint64 jobId);
    bool saveContract(qint64 jobId, const ContractTexts &texts, const QString &title);

private:
    bool fail(const QString &error);
    bool exec(const QString &sql, const QVariantList &values);
    std::optional<qint64> nextId(const QString &table);
    bool deleteLineRows(qint64 lineId);
    bool insertDimensions(qint64 lineId, const QList<NamedDimension> &dims);
    bool insertLine(qint64 jobId, qint64 typeNo, qint64 id, const LineFields &fields);
    bool insertWorkRows(qint64 cbn, const QString &cmc, const QList<NamedDimension> &dims, const QVariant &count);

    QSqlDatabase m_db;
    QString m_error;
    // The per-line reads, prepared once: a job's sheets read every line's rows in turn.
    std::shared_ptr<platform::PreparedStatements> m_reads;
};

// A typed size or count as it is stored: a number when it reads as one, else the text itself
// (null for an empty text).
QVariant storedNumber(const QString &text);

} // namespace project
