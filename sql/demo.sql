/* Demo database: a small shop's customers, products, sales and stock movements.
   Kept in UTF-8 here; scripts/demo-db hands it to the server as WIN1252. */
SET NAMES WIN1252;
SET SQL DIALECT 3;

CREATE TABLE CLIENTES (
    ID              INTEGER NOT NULL PRIMARY KEY,
    NOME            VARCHAR(60) NOT NULL,
    CIDADE          VARCHAR(40),
    UF              CHAR(2),
    CPF_CNPJ        CHAR(18),
    DATA_CADASTRO   DATE,
    LIMITE_CREDITO  NUMERIC(15,2),
    OBS             BLOB SUB_TYPE TEXT,
    FOTO            BLOB SUB_TYPE 0
);

CREATE TABLE PRODUTOS (
    CODIGO            CHAR(6) NOT NULL PRIMARY KEY,
    DESCRICAO         VARCHAR(60) NOT NULL,
    UNIDADE           CHAR(2),
    PRECO             NUMERIC(15,2),
    CUSTO             NUMERIC(15,2),
    ESTOQUE           INTEGER,
    MARGEM            COMPUTED BY (PRECO - CUSTO),
    ULTIMA_ALTERACAO  TIMESTAMP
);

CREATE TABLE VENDAS (
    ID          INTEGER NOT NULL PRIMARY KEY,
    CLIENTE_ID  INTEGER NOT NULL REFERENCES CLIENTES (ID),
    DATA_VENDA  TIMESTAMP,
    TOTAL       NUMERIC(15,2),
    SITUACAO    CHAR(1)
);

CREATE TABLE MOVIMENTO (
    ID          INTEGER NOT NULL PRIMARY KEY,
    PRODUTO     CHAR(6) REFERENCES PRODUTOS (CODIGO),
    DATA        DATE,
    QUANTIDADE  INTEGER,
    VALOR       NUMERIC(15,2),
    HISTORICO   VARCHAR(80)
);

CREATE VIEW VW_VENDAS_CLIENTE (CLIENTE, CIDADE, QTDE_VENDAS, TOTAL_VENDIDO) AS
    SELECT C.NOME, C.CIDADE, COUNT(V.ID), SUM(V.TOTAL)
    FROM CLIENTES C LEFT JOIN VENDAS V ON V.CLIENTE_ID = C.ID
    GROUP BY C.NOME, C.CIDADE;

COMMIT;

INSERT INTO CLIENTES VALUES (1, 'José da Conceição', 'São Paulo', 'SP', '123.456.789-09', '2019-03-15', 5000.00, 'Cliente desde a inauguração. Prefere boleto.', x'89504E470D0A1A0A0000000D49484452');
INSERT INTO CLIENTES VALUES (2, 'Maria Antônia Gonçalves', 'Belo Horizonte', 'MG', '987.654.321-00', '2020-07-01', 2500.50, 'Entregar após as 14h.', NULL);
INSERT INTO CLIENTES VALUES (3, 'João Paulo D''Ávila', 'Florianópolis', 'SC', '111.222.333-44', '2021-01-20', 0.00, NULL, x'00FF00FF7F80');
INSERT INTO CLIENTES VALUES (4, 'Ana Lúcia Ribeiro', 'Recife', 'PE', '555.666.777-88', '2018-11-30', 12000.00, 'Compra no atacado; solicitar pedido mínimo.', NULL);
INSERT INTO CLIENTES VALUES (5, 'Açougue e Mercearia Irmãos Müller Ltda', 'Blumenau', 'SC', '12.345.678/0001-90', '2022-05-09', 30000.00, 'Pessoa jurídica.', NULL);
INSERT INTO CLIENTES VALUES (6, 'Sebastião Nóbrega', 'Maceió', 'AL', '222.333.444-55', '2023-02-14', 800.00, NULL, NULL);
INSERT INTO CLIENTES VALUES (7, 'Cecília Brandão Júnior', 'Curitiba', 'PR', '333.444.555-66', '2017-09-05', 1500.75, 'Nº do endereço mudou: 1.204-A.', NULL);
INSERT INTO CLIENTES VALUES (8, 'Padaria Pão de Açúcar ME', 'Goiânia', 'GO', '98.765.432/0001-10', '2024-08-19', 7000.00, NULL, NULL);

INSERT INTO PRODUTOS VALUES ('000001', 'Café torrado e moído 500g', 'PC', 18.90, 11.35, 240, '2026-11-03 08:15:00');
INSERT INTO PRODUTOS VALUES ('000002', 'Açúcar cristal 5kg', 'PC', 24.50, 17.80, 95, '2026-11-03 08:16:30');
INSERT INTO PRODUTOS VALUES ('000003', 'Feijão carioca 1kg', 'PC', 8.99, 5.10, 410, '2026-10-28 17:42:10');
INSERT INTO PRODUTOS VALUES ('000004', 'Óleo de soja 900ml', 'UN', 7.49, 5.95, 300, '2026-10-28 17:43:00');
INSERT INTO PRODUTOS VALUES ('000005', 'Pão de forma integral', 'UN', 9.80, 6.20, 35, '2026-11-10 06:05:00');
INSERT INTO PRODUTOS VALUES ('000006', 'Queijo minas frescal (kg)', 'KG', 42.00, 29.90, 18, '2026-11-10 06:07:45');
INSERT INTO PRODUTOS VALUES ('000007', 'Macarrão espaguete nº 8', 'PC', 4.79, 2.95, 520, '2026-09-15 10:00:00');
INSERT INTO PRODUTOS VALUES ('000008', 'Sabão em pó 1kg', 'CX', 15.90, 10.40, 0, NULL);

INSERT INTO VENDAS VALUES (1, 1, '2026-11-02 09:31:00', 152.30, 'F');
INSERT INTO VENDAS VALUES (2, 2, '2026-11-02 10:05:12', 48.99, 'F');
INSERT INTO VENDAS VALUES (3, 4, '2026-11-03 14:22:47', 2870.00, 'A');
INSERT INTO VENDAS VALUES (4, 5, '2026-11-04 16:00:00', 12950.40, 'F');
INSERT INTO VENDAS VALUES (5, 1, '2026-11-05 11:11:11', 37.80, 'C');
INSERT INTO VENDAS VALUES (6, 8, '2026-11-06 07:45:30', 940.00, 'A');

COMMIT;

/* A few thousand stock movements, for bulk work and scrolling. */
SET TERM ^ ;
EXECUTE BLOCK AS
    DECLARE I INTEGER = 1;
    DECLARE P INTEGER;
BEGIN
    WHILE (I <= 5000) DO
    BEGIN
        P = MOD(I, 8) + 1;
        INSERT INTO MOVIMENTO (ID, PRODUTO, DATA, QUANTIDADE, VALOR, HISTORICO)
        VALUES (:I, LPAD(:P, 6, '0'), DATEADD(MOD(:I, 365) DAY TO DATE '2025-12-01'),
                MOD(:I * 7, 50) + 1, (MOD(:I * 13, 10000) + 99) / 100.0,
                IIF(MOD(:I, 3) = 0, 'Saída para balcão', IIF(MOD(:I, 3) = 1, 'Entrada por nota fiscal nº ' || :I, 'Ajuste de inventário')));
        I = I + 1;
    END
END^
SET TERM ; ^

COMMIT;
