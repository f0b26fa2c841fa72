-- Company archive: named values, window placements and the acquisition log.

CREATE TABLE TABX (
  CODICE INTEGER NOT NULL,
  NOME VARCHAR(100),
  TESTO VARCHAR(2000),
  MEMO BLOB SUB_TYPE TEXT,
  UTENTE INTEGER,
  CONSTRAINT PK_TABX PRIMARY KEY (CODICE)
);

CREATE INDEX TABX_NOME ON TABX (NOME, UTENTE);

CREATE GENERATOR CODICETABXCOUNTER;

-- Several rows may share the three codes, so the lookup index is not unique. NOTE stands for the
-- further columns a real archive carries.
CREATE TABLE STOPOS1 (
  CodiceSituazione INTEGER,
  CodiceUtente INTEGER,
  CodiceProgetto INTEGER,
  PosX INTEGER,
  PosY INTEGER,
  DimX INTEGER,
  DimY INTEGER,
  NOTE VARCHAR(64)
);

CREATE INDEX STOPOS1_CHIAVE ON STOPOS1 (CodiceSituazione, CodiceUtente, CodiceProgetto);

-- Acquisition log: entries belong to chains (ID_CATENA); an entry whose datum is APERTURA opens one.
CREATE TABLE BRONTELLOG (
  ID BIGINT NOT NULL,
  ID_CATENA BIGINT,
  DATOINPUT VARCHAR(256),
  USER_AUTENTICAZ INTEGER,
  DATAORA TIMESTAMP,
  CONSTRAINT PK_BRONTELLOG PRIMARY KEY (ID)
);

-- The user's most recent entry, the entries with a given datum, and the entries of a chain.
CREATE DESCENDING INDEX BRONTELLOG_UTENTE_ID ON BRONTELLOG (USER_AUTENTICAZ, ID);
CREATE INDEX BRONTELLOG_DATOINPUT ON BRONTELLOG (DATOINPUT);
CREATE INDEX BRONTELLOG_CATENA ON BRONTELLOG (ID_CATENA, DATOINPUT);
