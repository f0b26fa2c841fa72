-- User directory (user/user.fdb beside the host executable): the users, their parameters per
-- company and the host's log of opened functions and windows.

CREATE TABLE UTENTI (
  CODICE INTEGER NOT NULL,
  NOMEUTENTE VARCHAR(64),
  DITTA VARCHAR(100),
  PWDUTENTE VARCHAR(64),
  INFO2 VARCHAR(256),
  PROFILOSICUREZZA SMALLINT,
  QUADREL BLOB SUB_TYPE TEXT,
  CONSTRAINT PK_UTENTI PRIMARY KEY (CODICE)
);

-- Wider than the 64 and 256 characters the parameter block carries, so that over-long rows can be
-- stored and the rebuild of the block is what rejects them.
CREATE TABLE TABQUADREL (
  UTENTE INTEGER NOT NULL,
  INTESTAZIONE VARCHAR(100),
  PARAMETRO VARCHAR(64),
  VALORE VARCHAR(1000),
  PROGRESSIVO INTEGER
);

CREATE UNIQUE INDEX TABQUADREL_PARAMETRO ON TABQUADREL (UTENTE, INTESTAZIONE, PARAMETRO);

-- Rows are created by the host; the library only fills in HANDLEFINESTRA, which is an unsigned
-- machine word and needs 64 bits.
CREATE TABLE TELVILOGFUNZ (
  IDFINESTRA INTEGER NOT NULL,
  HANDLEFINESTRA BIGINT,
  FUNZIONE VARCHAR(64),
  DATAAPERTURA TIMESTAMP,
  CONSTRAINT PK_TELVILOGFUNZ PRIMARY KEY (IDFINESTRA)
);
