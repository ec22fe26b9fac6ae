#pragma once

#include "Subcommand.h"

namespace pipeloop::cli
{

// The parts container the program uses: --catalogue FILE, else
// zavoza.pldbcab in the program's data folder (beside it in a build tree).
QString CataloguePathOf(const Invocation& invocation);

// pipeloop-cli pack-catalogue DIR --out FILE.pldbcab
class PackCatalogueCommand : public Subcommand
{
public:
    QString name() const override { return QStringLiteral("pack-catalogue"); }
    QString summary() const override;
    QString usage() const override { return QStringLiteral("DIR --out FILE.pldbcab"); }
    int run(const Invocation& invocation) override;
};

// pipeloop-cli unpack-catalogue FILE --out DIR
class UnpackCatalogueCommand : public Subcommand
{
public:
    QString name() const override { return QStringLiteral("unpack-catalogue"); }
    QString summary() const override;
    QString usage() const override { return QStringLiteral("FILE.pldbcab --out DIR"); }
    int run(const Invocation& invocation) override;
};

// pipeloop-cli catalogue [FILE] [--parts] [--packages]
class CatalogueCommand : public Subcommand
{
public:
    QString name() const override { return QStringLiteral("catalogue"); }
    QString summary() const override;
    QString usage() const override
    {
        return QStringLiteral("[FILE.pldbcab] [--parts] [--packages]");
    }
    QStringList flagOptions() const override
    {
        return {QStringLiteral("--parts"), QStringLiteral("--packages")};
    }
    int run(const Invocation& invocation) override;
};

} // namespace pipeloop::cli
