#include "DocumentKinds.h"

#define TARVEK_DOC_KIND_INFO(kind, table, noDots, pages, sort) {kind, #kind, table, noDots, pages, sort},
const std::array<TDocKindInfo, kDocKindCount> kDocKinds = {{TARVEK_DOC_KINDS(TARVEK_DOC_KIND_INFO)}};
#undef TARVEK_DOC_KIND_INFO

std::optional<TDocKindInfo> optFunDocKind(int kind) {
  if (kind < 0 || kind >= kDocKindCount) return std::nullopt;
  return kDocKinds[static_cast<std::size_t>(kind)];
}

std::optional<TDocKind> optFunDocKindNamed(std::string_view name) {
  for (const TDocKindInfo& info : kDocKinds)
    if (name == info.name) return info.kind;
  return std::nullopt;
}

bool bFunIsCertificate(TDocKind kind) {
  const auto info = optFunDocKind(kind);
  return info && (info->flags & kfCertificate) != 0;
}

bool bFunWithDistinction(TDocKind kind) {
  const auto info = optFunDocKind(kind);
  return info && (info->flags & kfDistinction) != 0;
}

std::string strFunCalibTableName(TDocKind kind, bool printWithoutDots) {
  const TDocKindInfo& info = kDocKinds[static_cast<std::size_t>(kind)];
  return printWithoutDots && info.tableNoDots ? info.tableNoDots : info.table;
}
