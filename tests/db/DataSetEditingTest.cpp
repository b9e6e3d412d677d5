// Navigating, editing, inserting, posting and deleting rows of a table
// dataset, blob contents, and what the data sources hear.
#include "DataSetTestSupport.h"

#include <gtest/gtest.h>

namespace {

struct People : TableFixture {
    People() {
        db.exec("CREATE TABLE PEOPLE (ID INTEGER NOT NULL PRIMARY KEY, NAME VARCHAR(10), "
                "DOUBLED COMPUTED BY (ID * 2), NOTE BLOB SUB_TYPE 1, DATA BLOB SUB_TYPE 0)");
        // Every update the server runs leaves a line in the log.
        db.exec("CREATE TABLE UPDATES (ID INTEGER)");
        db.exec("CREATE TRIGGER PEOPLE_AU FOR PEOPLE AFTER UPDATE AS BEGIN INSERT INTO UPDATES VALUES "
                "(NEW.ID); END");
    }
    void rows(int count) {
        for (int id = 1; id <= count; ++id)
            db.exec("INSERT INTO PEOPLE (ID, NAME) VALUES (" + std::to_string(id) + ", 'N" +
                    std::to_string(id) + "')");
    }
    std::string count(const std::string& sql) { return committed(sql).value_or("NULL"); }
    int currentId() { return field("ID").AsInteger(); }
};

// Records what a data source passes on.
class RecordingLink : public TDataLink {
public:
    std::vector<std::string> events;
    void ActiveChanged() override { events.push_back("active"); }
    void DataSetChanged() override { events.push_back("changed"); }
    void DataSetScrolled() override { events.push_back("scrolled"); }
    void RecordChanged(TField* field) override { events.push_back("record " + field->FieldName()); }
    void EditingChanged() override { events.push_back("editing"); }
};

using Events = std::vector<std::string>;

} // namespace

TEST(Navigation, RowsAreReadOnlyAsNavigationAsksForThem) {
    People t;
    t.rows(5);
    t.open("PEOPLE");
    EXPECT_EQ(t.table.State(), dsBrowse);
    EXPECT_FALSE(t.table.Eof());
    EXPECT_EQ(t.table.RecordCount(), 1);
    EXPECT_EQ(t.table.RecNo(), 0);
    t.table.Next();
    EXPECT_EQ(t.table.RecordCount(), 2);
    EXPECT_EQ(t.currentId(), 2);
    EXPECT_EQ(t.table.FetchMore(2), 2);
    EXPECT_EQ(t.table.DisplayText(3, 1), "N4"); // any read row, without moving
    EXPECT_EQ(t.currentId(), 2);
    EXPECT_FALSE(t.table.AllFetched());
    EXPECT_EQ(t.table.FetchMore(10), 1);
    EXPECT_TRUE(t.table.AllFetched());
    EXPECT_EQ(t.table.DisplayText(9, 1), "");

    t.table.MoveTo(4);
    t.table.Next();
    EXPECT_TRUE(t.table.Eof());
    EXPECT_EQ(t.currentId(), 5); // the last row stays current
    t.table.First();
    EXPECT_FALSE(t.table.Eof());
    EXPECT_EQ(t.currentId(), 1);
    t.table.MoveTo(99);
    EXPECT_TRUE(t.table.Eof());
    EXPECT_EQ(t.table.RecNo(), 4);
}

TEST(Navigation, EmptyTableIsAtEofAndClosedTableRefusesMoves) {
    People t;
    t.open("PEOPLE");
    EXPECT_TRUE(t.table.Eof());
    EXPECT_EQ(t.table.RecNo(), -1);
    t.table.First();
    t.table.Next();
    EXPECT_TRUE(t.table.Eof());
    EXPECT_TRUE(t.field("NAME").IsNull());
    t.table.Close();
    EXPECT_EQ(ErrorOf<EDatabaseError>([&] { t.table.Next(); }),
              "table: Cannot perform this operation on a closed dataset");
    EXPECT_EQ(t.table.FieldCount(), 0);
}

TEST(Navigation, FieldNamedIgnoresCaseAndNamesTheDataSetWhenMissing) {
    People t;
    t.rows(1);
    t.open("PEOPLE");
    EXPECT_EQ(t.table.FieldNamed("name"), t.table.FieldAt(1));
    EXPECT_EQ(ErrorOf<EDatabaseError>([&] { t.table.FieldNamed("NOPE"); }), "table: Field 'NOPE' not found");
    TIBTable unnamed("", &t.connection);
    EXPECT_EQ(ErrorOf<EDatabaseError>([&] { unnamed.FieldNamed("X"); }), "Field 'X' not found");
}

TEST(Editing, AMoveAfterAChangePostsAndWithoutAChangeWritesNothing) {
    People t;
    t.rows(3);
    t.open("PEOPLE");
    t.table.Edit();
    EXPECT_EQ(t.table.State(), dsEdit);
    t.table.Next();
    EXPECT_EQ(t.table.State(), dsBrowse);
    EXPECT_EQ(t.count("SELECT COUNT(*) FROM UPDATES"), "0");

    t.table.Edit();
    t.field("NAME").SetAsString("changed");
    EXPECT_TRUE(t.table.Modified());
    t.table.Next();
    EXPECT_EQ(t.table.State(), dsBrowse);
    EXPECT_EQ(t.currentId(), 3);
    EXPECT_EQ(t.count("SELECT NAME FROM PEOPLE WHERE ID = 2"), "changed");
    EXPECT_EQ(t.count("SELECT COUNT(*) FROM UPDATES"), "1");
    // A move back shows the posted row from the cache.
    t.table.MoveTo(1);
    EXPECT_EQ(t.field("NAME").AsString(), "changed");
}

TEST(Editing, EmptyTextStoresNullCancelRestoresAndCloseDrops) {
    People t;
    t.rows(2);
    t.open("PEOPLE");
    t.table.Edit();
    t.field("NAME").SetAsString("");
    t.table.Post();
    EXPECT_EQ(t.count("SELECT COALESCE(NAME, 'NULL') FROM PEOPLE WHERE ID = 1"), "NULL");

    t.table.Edit();
    t.field("NAME").SetAsString("temp");
    t.table.Cancel();
    EXPECT_TRUE(t.field("NAME").IsNull());
    EXPECT_EQ(t.table.State(), dsBrowse);

    t.table.Next();
    t.table.Edit();
    t.field("NAME").SetAsString("dropped");
    t.table.Close();
    EXPECT_EQ(t.count("SELECT NAME FROM PEOPLE WHERE ID = 2"), "N2");
    EXPECT_EQ(ErrorOf<EDatabaseError>([&] { t.table.Post(); }), "table: Dataset not in edit or insert mode");
}

TEST(Editing, AFailedPostStaysInEditWithTheAssignedValues) {
    People t;
    t.rows(2);
    t.open("PEOPLE");
    t.table.Edit();
    t.field("ID").SetAsInteger(2); // the other row's key
    t.field("NAME").SetAsString("dup");
    EXPECT_THROW(t.table.Post(), EIBInterBaseError);
    EXPECT_EQ(t.table.State(), dsEdit);
    EXPECT_EQ(t.field("NAME").AsString(), "dup");
    t.field("ID").SetAsInteger(7);
    t.table.Post();
    EXPECT_EQ(t.count("SELECT NAME FROM PEOPLE WHERE ID = 7"), "dup");
}

TEST(Editing, ComputedColumnsAreNotWrittenAndAreReadAgainAfterPost) {
    People t;
    t.rows(1);
    t.open("PEOPLE");
    EXPECT_EQ(t.table.ModifySQL(), "update \"PEOPLE\" set \"ID\" = :\"ID\", \"NAME\" = :\"NAME\", \"NOTE\" = "
                                   ":\"NOTE\", \"DATA\" = :\"DATA\" where RDB$DB_KEY = :IBX_INTERNAL_DBKEY");
    t.table.Edit();
    t.field("ID").SetAsInteger(21);
    EXPECT_EQ(t.field("DOUBLED").AsInteger(), 2); // not computed yet
    t.table.Post();
    EXPECT_EQ(t.field("DOUBLED").AsInteger(), 42);
}

TEST(Inserting, EditOfAnEmptyTableInsertsANewRow) {
    People t;
    t.open("PEOPLE");
    t.table.Edit();
    EXPECT_EQ(t.table.State(), dsInsert);
    EXPECT_EQ(t.table.RecordCount(), 1);
    t.field("ID").SetAsInteger(1);
    t.field("NOTE").SetAsString("only this");
    t.table.Post();
    EXPECT_EQ(t.count("SELECT COUNT(*) || ' ' || NOTE FROM PEOPLE GROUP BY NOTE"), "1 only this");
    EXPECT_FALSE(t.table.Eof());
    EXPECT_EQ(t.field("DOUBLED").AsInteger(), 2);
}

TEST(Inserting, NewRowsComeBeforeTheCurrentOneAndCanBeChangedAndDeletedLater) {
    People t;
    t.rows(2);
    t.open("PEOPLE");
    t.table.Next();
    t.table.Insert();
    EXPECT_EQ(t.table.RecNo(), 1);
    EXPECT_EQ(t.table.RecordCount(), 3);
    EXPECT_TRUE(t.field("ID").IsNull());
    t.field("ID").SetAsInteger(10);
    t.table.Post();
    EXPECT_EQ(t.table.DisplayText(0, 0), "1");
    EXPECT_EQ(t.table.DisplayText(1, 0), "10");
    EXPECT_EQ(t.table.DisplayText(2, 0), "2");

    // The new row is found again by its row key.
    t.table.Edit();
    t.field("NAME").SetAsString("new");
    t.table.Post();
    EXPECT_EQ(t.count("SELECT NAME FROM PEOPLE WHERE ID = 10"), "new");
    t.table.Delete();
    EXPECT_EQ(t.count("SELECT COUNT(*) FROM PEOPLE"), "2");
    EXPECT_EQ(t.currentId(), 2);
}

TEST(Inserting, CancelRemovesTheRowAndAppendGoesAfterTheLastRow) {
    People t;
    t.rows(3);
    t.open("PEOPLE");
    t.table.Insert();
    t.table.Cancel();
    EXPECT_EQ(t.table.RecordCount(), 1);
    EXPECT_EQ(t.currentId(), 1);

    // Rows are counted with the new row in place; giving it up keeps the target.
    t.table.Insert();
    t.table.MoveTo(2);
    EXPECT_EQ(t.currentId(), 2);

    t.table.Append();
    EXPECT_EQ(t.table.RecNo(), 3);
    EXPECT_TRUE(t.table.AllFetched());
    t.field("ID").SetAsInteger(4);
    t.table.Delete(); // in insert state it cancels
    EXPECT_EQ(t.table.RecordCount(), 3);
    EXPECT_EQ(t.table.State(), dsBrowse);
    EXPECT_EQ(t.count("SELECT COUNT(*) FROM PEOPLE"), "3");
}

TEST(Deleting, TheNextRowBecomesCurrentOrThePreviousAtTheEnd) {
    People t;
    t.rows(3);
    t.open("PEOPLE");
    t.table.Delete(); // the next row is read to take its place
    EXPECT_EQ(t.currentId(), 2);
    t.table.MoveTo(1);
    t.table.Delete();
    EXPECT_EQ(t.currentId(), 2);
    EXPECT_FALSE(t.table.Eof());
    EXPECT_EQ(t.table.RecordCount(), 1);
    EXPECT_EQ(t.count("SELECT LIST(ID) FROM PEOPLE"), "2");
}

TEST(Deleting, TheOnlyRowLeavesAnEmptyDataSetAtEof) {
    People t;
    t.rows(1);
    t.open("PEOPLE");
    t.table.Delete();
    EXPECT_TRUE(t.table.Eof());
    EXPECT_EQ(t.table.RecordCount(), 0);
    EXPECT_EQ(t.count("SELECT COUNT(*) FROM PEOPLE"), "0");
    EXPECT_EQ(ErrorOf<EDatabaseError>([&] { t.table.Delete(); }),
              "table: Cannot perform this operation on an empty dataset");
}

TEST(Blobs, ContentRoundTripsByteForByte) {
    People t;
    t.rows(1);
    t.open("PEOPLE");
    const std::string text = "linha um\r\nlinha dois com acentua\xE7\xE3o: \xE1\xE9\xED\xF3\xFA\r\n";
    std::string binary("\x00\x01\xFF\x00zz\x00", 7);
    std::string big;
    for (int i = 0; big.size() < 100 * 1024; ++i)
        big += static_cast<char>(i * 7 % 256);

    t.table.Edit();
    t.field("NOTE").SetAsString(text);
    t.field("DATA").SetAsString(binary);
    EXPECT_EQ(t.field("DATA").AsString(), binary); // before the post, from the edit
    t.table.Post();
    EXPECT_EQ(t.field("NOTE").AsString(), text);
    EXPECT_EQ(t.field("DATA").AsString(), binary);
    EXPECT_EQ(t.committed("SELECT NOTE FROM PEOPLE"), text);
    EXPECT_EQ(t.db.scalar("SELECT DATA FROM PEOPLE"), binary);

    t.table.Edit();
    t.field("DATA").SetAsString(big);
    t.table.Post();
    EXPECT_EQ(t.field("DATA").AsString(), big);
    EXPECT_EQ(t.committed("SELECT DATA FROM PEOPLE"), big);
    // Reopened, the content comes from the server again.
    t.table.Close();
    t.table.Open();
    EXPECT_EQ(t.field("DATA").AsString(), big);
    EXPECT_EQ(t.field("NOTE").AsString(), text);
}

TEST(Blobs, AnEmptyReplacementStoresNull) {
    People t;
    t.db.exec("INSERT INTO PEOPLE (ID, NOTE, DATA) VALUES (1, 'text', 'bytes')");
    t.open("PEOPLE");
    t.table.Edit();
    t.field("DATA").SetAsString("");
    EXPECT_TRUE(t.field("DATA").IsNull());
    t.table.Post();
    EXPECT_EQ(t.field("DATA").DisplayText(), "(blob)");
    EXPECT_EQ(t.committed("SELECT COALESCE(CAST(DATA AS VARCHAR(10)), 'NULL') || NOTE FROM PEOPLE"),
              "NULLtext");
}

TEST(Notifications, DataSourcesHearOpeningMovingEditingAndClosing) {
    People t;
    t.rows(2);
    TDataSource source("dtstable", &t.table);
    RecordingLink link;
    link.SetDataSource(&source);
    EXPECT_EQ(link.DataSet(), &t.table);

    t.open("PEOPLE");
    t.table.Next();
    t.table.Next(); // past the end: no move
    t.table.Edit();
    t.field("NAME").SetAsString("x");
    t.table.Post();
    t.table.Close();
    EXPECT_EQ(link.events,
              (Events{"active", "scrolled", "editing", "record NAME", "editing", "changed", "active"}));
}

TEST(Notifications, DisabledControlsHearOneChangeAtTheEnd) {
    People t;
    t.rows(3);
    TDataSource source("dtstable", &t.table);
    RecordingLink link;
    link.SetDataSource(&source);
    t.open("PEOPLE");
    link.events.clear();

    t.table.DisableControls();
    t.table.DisableControls();
    t.table.Next();
    t.table.Next();
    t.table.EnableControls();
    EXPECT_TRUE(link.events.empty());
    t.table.EnableControls();
    EXPECT_EQ(link.events, (Events{"changed"}));

    // Closed while disabled: the end reports the dataset closed.
    link.events.clear();
    t.table.DisableControls();
    t.table.Close();
    t.table.EnableControls();
    EXPECT_EQ(link.events, (Events{"active"}));
}

TEST(Notifications, SourcesAndDataSetsMayGoInAnyOrder) {
    People t;
    RecordingLink link;
    {
        auto table = std::make_unique<TIBTable>("other", &t.connection, &t.transaction);
        TDataSource source("dtstable", table.get());
        link.SetDataSource(&source);
        table.reset();
        EXPECT_EQ(source.DataSet(), nullptr);
        EXPECT_EQ(link.events, (Events{"active"}));
    }
    EXPECT_EQ(link.DataSource(), nullptr);
    TDataSource source("dtstable");
    source.SetDataSet(&t.table);
    link.SetDataSource(&source);
}
