-- Delivery-note database. BOL_COD is short on purpose: a longer datum does not fit the column's
-- parameter and the lookup fails instead of finding nothing.

CREATE TABLE BOLLE (
  BOL_COD VARCHAR(20),
  BOL_DATA DATE,
  BOL_CLIENTE VARCHAR(64)
);

CREATE INDEX BOLLE_COD ON BOLLE (BOL_COD);
