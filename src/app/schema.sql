-- Velmorra database schema.
-- Column order is part of the format: several readers copy a row's fields
-- by position, and backup/restore copy rows field by field by position.
-- Do not reorder, insert or drop columns.
-- Text columns compare case-insensitively, as the old database did.
-- References between tables are plain numbers kept consistent by hand.

-- database: cl.mdb

-- Material catalogue ------------------------------------------------------

-- 厂家类别: 1 profile maker, 2 steel maker, 3 panel maker, 4 fittings maker.
CREATE TABLE IF NOT EXISTS "材料厂家" (
    "编号"     INTEGER,
    "厂家名称" TEXT COLLATE NOCASE,
    "联系电话" TEXT COLLATE NOCASE,
    "厂址"     TEXT COLLATE NOCASE,
    "传真"     TEXT COLLATE NOCASE,
    "厂家类别" INTEGER
);
CREATE UNIQUE INDEX IF NOT EXISTS "ux_材料厂家_编号" ON "材料厂家" ("编号");

CREATE TABLE IF NOT EXISTS "型材系列" (
    "厂家编号" INTEGER,
    "编号"     INTEGER,
    "系列名称" TEXT COLLATE NOCASE
);
CREATE UNIQUE INDEX IF NOT EXISTS "ux_型材系列_编号" ON "型材系列" ("编号");
CREATE INDEX IF NOT EXISTS "ix_型材系列_厂家编号" ON "型材系列" ("厂家编号");

-- Lengths and thicknesses in mm, density in kg/m, price in yuan per tonne. Each catalogue
-- table indexes its material code (型号, 规格, 玻璃名称): pricing looks codes up in bulk.
CREATE TABLE IF NOT EXISTS "型材" (
    "系列编号"   INTEGER,
    "编号"       INTEGER,
    "型材名称"   TEXT COLLATE NOCASE,
    "型材型号"   TEXT COLLATE NOCASE,
    "型材长度"   REAL,
    "型材厚度"   REAL,
    "型材颜色"   TEXT COLLATE NOCASE,
    "型材线密度" REAL,
    "型材吨价格" REAL
);
CREATE UNIQUE INDEX IF NOT EXISTS "ux_型材_编号" ON "型材" ("编号");
CREATE INDEX IF NOT EXISTS "ix_型材_系列编号" ON "型材" ("系列编号");
CREATE INDEX IF NOT EXISTS "ix_型材_型材型号" ON "型材" ("型材型号");

CREATE TABLE IF NOT EXISTS "型钢" (
    "厂家编号"   INTEGER,
    "编号"       INTEGER,
    "型钢名称"   TEXT COLLATE NOCASE,
    "型钢规格"   TEXT COLLATE NOCASE,
    "型钢长度"   REAL,
    "型钢厚度"   REAL,
    "型钢颜色"   TEXT COLLATE NOCASE,
    "型钢线密度" REAL,
    "型钢吨价格" REAL
);
CREATE UNIQUE INDEX IF NOT EXISTS "ux_型钢_编号" ON "型钢" ("编号");
CREATE INDEX IF NOT EXISTS "ix_型钢_厂家编号" ON "型钢" ("厂家编号");
CREATE INDEX IF NOT EXISTS "ix_型钢_型钢规格" ON "型钢" ("型钢规格");

-- Glass and other panels. Price in yuan per square metre.
CREATE TABLE IF NOT EXISTS "玻璃" (
    "厂家编号"     INTEGER,
    "编号"         INTEGER,
    "玻璃名称"     TEXT COLLATE NOCASE,
    "玻璃长"       REAL,
    "玻璃宽"       REAL,
    "玻璃厚度"     REAL,
    "玻璃颜色"     TEXT COLLATE NOCASE,
    "玻璃平方单价" REAL
);
CREATE UNIQUE INDEX IF NOT EXISTS "ux_玻璃_编号" ON "玻璃" ("编号");
CREATE INDEX IF NOT EXISTS "ix_玻璃_厂家编号" ON "玻璃" ("厂家编号");
CREATE INDEX IF NOT EXISTS "ix_玻璃_玻璃名称" ON "玻璃" ("玻璃名称");

CREATE TABLE IF NOT EXISTS "配件" (
    "厂家编号" INTEGER,
    "编号"     INTEGER,
    "配件名称" TEXT COLLATE NOCASE,
    "配件规格" TEXT COLLATE NOCASE,
    "配件单位" TEXT COLLATE NOCASE,
    "配件单价" REAL
);
CREATE UNIQUE INDEX IF NOT EXISTS "ux_配件_编号" ON "配件" ("编号");
CREATE INDEX IF NOT EXISTS "ix_配件_厂家编号" ON "配件" ("厂家编号");
CREATE INDEX IF NOT EXISTS "ix_配件_配件规格" ON "配件" ("配件规格");

-- Door/window types and their bills ----------------------------------------

CREATE TABLE IF NOT EXISTS "门窗厂家" (
    "编号" INTEGER,
    "名称" TEXT COLLATE NOCASE
);
CREATE UNIQUE INDEX IF NOT EXISTS "ux_门窗厂家_编号" ON "门窗厂家" ("编号");

CREATE TABLE IF NOT EXISTS "门窗系列" (
    "厂家编号" INTEGER,
    "编号"     INTEGER,
    "名称"     TEXT COLLATE NOCASE
);
CREATE UNIQUE INDEX IF NOT EXISTS "ux_门窗系列_编号" ON "门窗系列" ("编号");
CREATE INDEX IF NOT EXISTS "ix_门窗系列_厂家编号" ON "门窗系列" ("厂家编号");

-- 图文件: path of the type's .MC drawing file, read by position 3 when the
-- drawing library is rebuilt after an import. 图号: number of the drawing in 图.
CREATE TABLE IF NOT EXISTS "门窗" (
    "系列编号" INTEGER,
    "编号"     INTEGER,
    "名称"     TEXT COLLATE NOCASE,
    "图文件"   TEXT COLLATE NOCASE,
    "图号"     INTEGER
);
CREATE UNIQUE INDEX IF NOT EXISTS "ux_门窗_编号" ON "门窗" ("编号");
CREATE INDEX IF NOT EXISTS "ix_门窗_系列编号" ON "门窗" ("系列编号");
CREATE INDEX IF NOT EXISTS "ix_门窗_图号" ON "门窗" ("图号");

-- 窗号 is the type's 编号. 数量 and 计算公式 are formula texts.
CREATE TABLE IF NOT EXISTS "窗型材" (
    "窗号"     INTEGER,
    "编号"     INTEGER,
    "名称"     TEXT COLLATE NOCASE,
    "规格"     TEXT COLLATE NOCASE,
    "数量"     TEXT COLLATE NOCASE,
    "计算公式" TEXT COLLATE NOCASE
);
CREATE UNIQUE INDEX IF NOT EXISTS "ux_窗型材_编号" ON "窗型材" ("编号");
CREATE INDEX IF NOT EXISTS "ix_窗型材_窗号" ON "窗型材" ("窗号");

CREATE TABLE IF NOT EXISTS "窗型钢" (
    "窗号"     INTEGER,
    "编号"     INTEGER,
    "名称"     TEXT COLLATE NOCASE,
    "规格"     TEXT COLLATE NOCASE,
    "数量"     TEXT COLLATE NOCASE,
    "计算公式" TEXT COLLATE NOCASE
);
CREATE UNIQUE INDEX IF NOT EXISTS "ux_窗型钢_编号" ON "窗型钢" ("编号");
CREATE INDEX IF NOT EXISTS "ix_窗型钢_窗号" ON "窗型钢" ("窗号");

-- Panel count is a plain number here, not a formula.
CREATE TABLE IF NOT EXISTS "窗板材" (
    "窗号"   INTEGER,
    "编号"   INTEGER,
    "名称"   TEXT COLLATE NOCASE,
    "数量"   REAL,
    "长公式" TEXT COLLATE NOCASE,
    "宽公式" TEXT COLLATE NOCASE
);
CREATE UNIQUE INDEX IF NOT EXISTS "ux_窗板材_编号" ON "窗板材" ("编号");
CREATE INDEX IF NOT EXISTS "ix_窗板材_窗号" ON "窗板材" ("窗号");

-- Fitting quantity is a plain number (a unit such as metres may need fractions).
CREATE TABLE IF NOT EXISTS "窗配件" (
    "窗号" INTEGER,
    "编号" INTEGER,
    "名称" TEXT COLLATE NOCASE,
    "规格" TEXT COLLATE NOCASE,
    "数量" REAL,
    "单位" TEXT COLLATE NOCASE
);
CREATE UNIQUE INDEX IF NOT EXISTS "ux_窗配件_编号" ON "窗配件" ("编号");
CREATE INDEX IF NOT EXISTS "ix_窗配件_窗号" ON "窗配件" ("窗号");

-- Drawing library ----------------------------------------------------------
-- 图 lists the drawings. The entity tables hold the entities of a drawing
-- under its number Bn (= 图.编号). Entity rows have no number of their own.
-- Coordinates are drawing units (twips of the 9495 x 7935 drawing area).

CREATE TABLE IF NOT EXISTS "图" (
    "编号" INTEGER,
    "图名" TEXT COLLATE NOCASE
);
CREATE UNIQUE INDEX IF NOT EXISTS "ux_图_编号" ON "图" ("编号");

CREATE TABLE IF NOT EXISTS "Line" (
    "x1" REAL,
    "y1" REAL,
    "x2" REAL,
    "y2" REAL,
    "Bn" INTEGER
);
CREATE INDEX IF NOT EXISTS "ix_Line_Bn" ON "Line" ("Bn");

CREATE TABLE IF NOT EXISTS "Rectangle" (
    "x1" REAL,
    "y1" REAL,
    "x2" REAL,
    "y2" REAL,
    "Bn" INTEGER
);
CREATE INDEX IF NOT EXISTS "ix_Rectangle_Bn" ON "Rectangle" ("Bn");

CREATE TABLE IF NOT EXISTS "Arrow" (
    "x1" REAL,
    "y1" REAL,
    "x2" REAL,
    "y2" REAL,
    "Bn" INTEGER
);
CREATE INDEX IF NOT EXISTS "ix_Arrow_Bn" ON "Arrow" ("Bn");

CREATE TABLE IF NOT EXISTS "Dim" (
    "x1" REAL,
    "y1" REAL,
    "x2" REAL,
    "y2" REAL,
    "x3" REAL,
    "y3" REAL,
    "Bn" INTEGER
);
CREATE INDEX IF NOT EXISTS "ix_Dim_Bn" ON "Dim" ("Bn");

CREATE TABLE IF NOT EXISTS "Arc" (
    "x1" REAL,
    "y1" REAL,
    "x2" REAL,
    "y2" REAL,
    "x3" REAL,
    "y3" REAL,
    "Bn" INTEGER
);
CREATE INDEX IF NOT EXISTS "ix_Arc_Bn" ON "Arc" ("Bn");

CREATE TABLE IF NOT EXISTS "Strings" (
    "X1"    REAL,
    "Y1"    REAL,
    "Chars" TEXT COLLATE NOCASE,
    "Bn"    INTEGER
);
CREATE INDEX IF NOT EXISTS "ix_Strings_Bn" ON "Strings" ("Bn");

-- Jobs ----------------------------------------------------------------------

CREATE TABLE IF NOT EXISTS "工程" (
    "编号"     INTEGER,
    "合同编号" TEXT COLLATE NOCASE,
    "工程名称" TEXT COLLATE NOCASE,
    "工程地点" TEXT COLLATE NOCASE,
    "甲方单位" TEXT COLLATE NOCASE
);
CREATE UNIQUE INDEX IF NOT EXISTS "ux_工程_编号" ON "工程" ("编号");

-- 门窗编号 > 0: a plain line (the type's 编号). <= 0: a combined line
-- (minus the main drawing's number). 备用 is never written but must stay at
-- position 7 so that 樘数 and 说明 keep positions 8 and 9.
CREATE TABLE IF NOT EXISTS "工程门窗" (
    "工程编号" INTEGER,
    "门窗编号" INTEGER,
    "编号"     INTEGER,
    "门窗名称" TEXT COLLATE NOCASE,
    "门窗类型" TEXT COLLATE NOCASE,
    "洞口宽"   REAL,
    "洞口高"   REAL,
    "备用"     TEXT COLLATE NOCASE,
    "樘数"     INTEGER,
    "说明"     TEXT COLLATE NOCASE
);
CREATE UNIQUE INDEX IF NOT EXISTS "ux_工程门窗_编号" ON "工程门窗" ("编号");
CREATE INDEX IF NOT EXISTS "ix_工程门窗_工程编号" ON "工程门窗" ("工程编号");

-- Named-dimension values of a line. Stored order differs from the order the
-- plain window dialog names in its insert: readers take Px, Py, schar by
-- position 0, 1, 2 and MC by position 4.
CREATE TABLE IF NOT EXISTS "标注" (
    "Px"    REAL,
    "Py"    REAL,
    "schar" TEXT COLLATE NOCASE,
    "MCNUM" INTEGER,
    "MC"    TEXT COLLATE NOCASE
);
CREATE INDEX IF NOT EXISTS "ix_标注_MCNUM" ON "标注" ("MCNUM");

-- Components of combined lines. MCBN -1 marks the work rows of an open
-- combined-window dialog. CBN < 0 marks rows of the main drawing.
CREATE TABLE IF NOT EXISTS "标注2" (
    "MCBN"  INTEGER,
    "CBN"   INTEGER,
    "MC"    TEXT COLLATE NOCASE,
    "MCZ"   TEXT COLLATE NOCASE,
    "CMC"   TEXT COLLATE NOCASE,
    "Px"    REAL,
    "Py"    REAL,
    "Count" INTEGER
);
CREATE INDEX IF NOT EXISTS "ix_标注2_MCBN_CBN" ON "标注2" ("MCBN", "CBN");

-- At most one contract sheet per job. T1..T13 must be the first thirteen
-- columns: the sheet window loads them by position.
CREATE TABLE IF NOT EXISTS "工程合同" (
    "T1"   TEXT COLLATE NOCASE,
    "T2"   TEXT COLLATE NOCASE,
    "T3"   TEXT COLLATE NOCASE,
    "T4"   TEXT COLLATE NOCASE,
    "T5"   TEXT COLLATE NOCASE,
    "T6"   TEXT COLLATE NOCASE,
    "T7"   TEXT COLLATE NOCASE,
    "T8"   TEXT COLLATE NOCASE,
    "T9"   TEXT COLLATE NOCASE,
    "T10"  TEXT COLLATE NOCASE,
    "T11"  TEXT COLLATE NOCASE,
    "T12"  TEXT COLLATE NOCASE,
    "T13"  TEXT COLLATE NOCASE,
    "BT"   TEXT COLLATE NOCASE,
    "HTBN" INTEGER
);
CREATE INDEX IF NOT EXISTS "ix_工程合同_HTBN" ON "工程合同" ("HTBN");

-- Optimisation work tables (rebuilt for every run, numbers repeat) ----------

-- 编号: the bill row a piece comes from, empty for typed piece lists and
-- combined windows. 数量 may be fractional.
CREATE TABLE IF NOT EXISTS "优化数据" (
    "编号" INTEGER,
    "名称" TEXT COLLATE NOCASE,
    "规格" TEXT COLLATE NOCASE,
    "长度" REAL,
    "数量" REAL
);
-- No index: a cutting run reads the pieces of every code in one pass, and an
-- index on 规格 cost each write more than that pass. Older files had one.
DROP INDEX IF EXISTS "ix_优化数据_规格";

-- 数量: number of bars cut to the pattern.
CREATE TABLE IF NOT EXISTS "优化结果" (
    "材料名称" TEXT COLLATE NOCASE,
    "切割规格" TEXT COLLATE NOCASE,
    "数量"     INTEGER,
    "优化比率" REAL,
    "剩余料长" REAL
);

-- Statistics work tables (rebuilt for every run, no key) -------------------

CREATE TABLE IF NOT EXISTS "OutXC" (
    "名称" TEXT COLLATE NOCASE,
    "规格" TEXT COLLATE NOCASE,
    "长度" REAL,
    "数量" REAL
);

CREATE TABLE IF NOT EXISTS "OutXG" (
    "名称" TEXT COLLATE NOCASE,
    "规格" TEXT COLLATE NOCASE,
    "长度" REAL,
    "数量" REAL
);

CREATE TABLE IF NOT EXISTS "OutPJ" (
    "名称" TEXT COLLATE NOCASE,
    "规格" TEXT COLLATE NOCASE,
    "数量" REAL,
    "单位" TEXT COLLATE NOCASE
);

CREATE TABLE IF NOT EXISTS "OutPC" (
    "名称" TEXT COLLATE NOCASE,
    "长"   REAL,
    "宽"   REAL,
    "数量" REAL
);

-- Priced material list. BN is the line number. The closing row has only BN.
CREATE TABLE IF NOT EXISTS "OutTJ" (
    "BN"   INTEGER,
    "名称" TEXT COLLATE NOCASE,
    "规格" TEXT COLLATE NOCASE,
    "单价" REAL,
    "DW"   TEXT COLLATE NOCASE,
    "金额" REAL,
    "数量" REAL
);

-- Settlement, one row per chosen window. BN is its place in the chosen list.
CREATE TABLE IF NOT EXISTS "OutJS" (
    "XH"     TEXT COLLATE NOCASE,
    "LX"     TEXT COLLATE NOCASE,
    "Width"  REAL,
    "Height" REAL,
    "Count"  INTEGER,
    "MJ"     REAL,
    "DJ"     REAL,
    "JE"     REAL,
    "BN"     INTEGER
);

-- database: CangKu.mdb

-- Bill numbers are the largest 单据编号 plus one. Dates are ISO yyyy-MM-dd.
CREATE TABLE IF NOT EXISTS "入库单" (
    "单据编号" INTEGER,
    "来料来源" TEXT COLLATE NOCASE,
    "采购金额" REAL,
    "用途"     TEXT COLLATE NOCASE,
    "说明"     TEXT COLLATE NOCASE,
    "采购员"   TEXT COLLATE NOCASE,
    "采购日期" TEXT
);
CREATE INDEX IF NOT EXISTS "ix_入库单_单据编号" ON "入库单" ("单据编号");

CREATE TABLE IF NOT EXISTS "入库单子表" (
    "单据编号" INTEGER,
    "名称"     TEXT COLLATE NOCASE,
    "规格"     TEXT COLLATE NOCASE,
    "单位"     TEXT COLLATE NOCASE,
    "单价"     REAL,
    "数量"     REAL,
    "种类"     TEXT COLLATE NOCASE
);
CREATE INDEX IF NOT EXISTS "ix_入库单子表_单据编号" ON "入库单子表" ("单据编号");

CREATE TABLE IF NOT EXISTS "出库单" (
    "单据编号" INTEGER,
    "用途"     TEXT COLLATE NOCASE,
    "说明"     TEXT COLLATE NOCASE,
    "仓管员"   TEXT COLLATE NOCASE,
    "出库日期" TEXT
);
CREATE INDEX IF NOT EXISTS "ix_出库单_单据编号" ON "出库单" ("单据编号");

CREATE TABLE IF NOT EXISTS "出库单子表" (
    "单据编号" INTEGER,
    "名称"     TEXT COLLATE NOCASE,
    "规格"     TEXT COLLATE NOCASE,
    "单位"     TEXT COLLATE NOCASE,
    "数量"     REAL,
    "种类"     TEXT COLLATE NOCASE
);
CREATE INDEX IF NOT EXISTS "ix_出库单子表_单据编号" ON "出库单子表" ("单据编号");

-- One row per 规格: receipts and issues find the stock row by 规格 alone.
CREATE TABLE IF NOT EXISTS "库存表" (
    "名称"   TEXT COLLATE NOCASE,
    "规格"   TEXT COLLATE NOCASE,
    "厂家"   TEXT COLLATE NOCASE,
    "单位"   TEXT COLLATE NOCASE,
    "种类"   TEXT COLLATE NOCASE,
    "入库量" REAL,
    "库存量" REAL
);
CREATE INDEX IF NOT EXISTS "ix_库存表_规格" ON "库存表" ("规格");

-- database: user.mdb

-- UserPwd holds the enciphered password. UserAuth is the 12-character
-- rights string. Names are unique by a check in code, not by a key.
CREATE TABLE IF NOT EXISTS "User" (
    "UserNm"   TEXT COLLATE NOCASE,
    "UserPwd"  TEXT COLLATE NOCASE,
    "UserAuth" TEXT COLLATE NOCASE
);
