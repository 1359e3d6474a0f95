// Fakes are mostly header-only; this keeps the support library non-empty.
