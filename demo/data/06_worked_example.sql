-- A handful of owned cards that carry both "Átkozott" (T012) and "Versenyen tiltott" (S003),
-- so that the filter grammar's worked example (main gods or level above 3, names from "A",
-- owned, with both links) finds cards in the demo catalogue and in the benchmark's copy of it.
UPDATE TLAP SET L_DB = 1 WHERE L_ID = 346 AND L_DB IS NULL;
INSERT INTO TLAPTUL (LT_LID, LT_TULID)
  SELECT C.ID, T.CODE FROM (SELECT 35 AS ID UNION ALL SELECT 37 UNION ALL SELECT 346 UNION ALL SELECT 406
                            UNION ALL SELECT 434) C,
                           (SELECT 'T012' AS CODE UNION ALL SELECT 'S003') T
  WHERE NOT EXISTS (SELECT 1 FROM TLAPTUL L WHERE L.LT_LID = C.ID AND L.LT_TULID = T.CODE);
